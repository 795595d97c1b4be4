#pragma once

#include "platform/kits/appintents/AppEntity.hpp"
#include "platform/kits/appintents/IntentValue.hpp"

#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace appintents {

class AppIntent;

// What a value of a parameter is, as the framework and a runner see it.
enum class ValueKind { boolean, number, text, entity, file };

// How a parameter shows and is asked for. A required parameter without a value is asked for with
// its request dialog before the action runs; a default fills a parameter nobody gave.
struct ParameterOptions {
    // Every member has an initialiser, so that options name only what they set.
    std::string title{};
    std::optional<std::string> description{};
    std::optional<std::string> requestDialog{};
    // The names a Boolean shows by, true's first ("On", "Off").
    std::optional<std::pair<std::string, std::string>> displayNames{};
    // The file types a file parameter takes.
    std::vector<std::string> supportedTypeIdentifiers{};
};

// A parameter as the framework sees it, whatever its type.
class ParameterSlot {
public:
    ParameterSlot(const ParameterSlot&) = delete;
    ParameterSlot& operator=(const ParameterSlot&) = delete;
    virtual ~ParameterSlot() = default;

    [[nodiscard]] const std::string& name() const noexcept { return name_; }
    [[nodiscard]] const ParameterOptions& options() const noexcept { return options_; }
    [[nodiscard]] virtual ValueKind kind() const = 0;
    // The entity type's name, for an entity parameter.
    [[nodiscard]] virtual std::optional<std::string> entityType() const = 0;
    [[nodiscard]] virtual bool isRequired() const = 0;
    [[nodiscard]] virtual std::optional<IntentValue> defaultValue() const = 0;
    [[nodiscard]] virtual std::optional<IntentValue> value() const = 0;
    // Throws std::invalid_argument, naming the parameter, for a value of another kind or an entity
    // of another type.
    virtual void setValue(const IntentValue& value) = 0;

protected:
    ParameterSlot(AppIntent& owner, std::string name, ParameterOptions options);

private:
    std::string name_;
    ParameterOptions options_;
};

namespace detail {

template <typename T>
struct ValueTraits;
template <>
struct ValueTraits<bool> {
    static constexpr ValueKind kind = ValueKind::boolean;
};
template <>
struct ValueTraits<double> {
    static constexpr ValueKind kind = ValueKind::number;
};
template <>
struct ValueTraits<std::string> {
    static constexpr ValueKind kind = ValueKind::text;
};
template <>
struct ValueTraits<IntentFile> {
    static constexpr ValueKind kind = ValueKind::file;
};

}  // namespace detail

// A parameter of an action, holding a `T`: bool, double, std::string, IntentFile or an AppEntity.
// Optional parameters (`Optional` true) may stay without a value through the run.
template <typename T, bool Optional = false>
class IntentParameter final : public ParameterSlot {
public:
    IntentParameter(AppIntent& owner, std::string name, ParameterOptions options,
                    std::optional<T> defaultValue = std::nullopt)
        : ParameterSlot(owner, std::move(name), std::move(options)),
          default_(std::move(defaultValue)),
          value_(default_) {}

    // The value; a required parameter always has one once the action runs.
    [[nodiscard]] const T& operator*() const {
        if (!value_) {
            throw std::logic_error("the parameter " + name() + " has no value");
        }
        return *value_;
    }
    [[nodiscard]] const T* operator->() const { return &**this; }
    [[nodiscard]] const std::optional<T>& wrappedValue() const noexcept { return value_; }
    void set(std::optional<T> value) { value_ = std::move(value); }

    [[nodiscard]] ValueKind kind() const override {
        if constexpr (AppEntity<T>) {
            return ValueKind::entity;
        } else {
            return detail::ValueTraits<T>::kind;
        }
    }
    [[nodiscard]] std::optional<std::string> entityType() const override {
        if constexpr (AppEntity<T>) {
            return std::string(T::typeName);
        } else {
            return std::nullopt;
        }
    }
    [[nodiscard]] bool isRequired() const override { return !Optional; }
    [[nodiscard]] std::optional<IntentValue> defaultValue() const override { return toValue(default_); }
    [[nodiscard]] std::optional<IntentValue> value() const override { return toValue(value_); }

    void setValue(const IntentValue& value) override {
        if constexpr (AppEntity<T>) {
            const auto* entity = std::get_if<EntityValue>(&value);
            if (entity == nullptr || entity->typeName != T::typeName) {
                throw std::invalid_argument("the parameter " + name() + " takes a " + T::typeDisplayName());
            }
            value_ = T::fromValue(*entity);
        } else {
            const auto* held = std::get_if<T>(&value);
            if (held == nullptr) {
                throw std::invalid_argument("the parameter " + name() + " takes a value of another kind");
            }
            value_ = *held;
        }
    }

private:
    static std::optional<IntentValue> toValue(const std::optional<T>& value) {
        if (!value) {
            return std::nullopt;
        }
        // Made in place: GCC 12 at -O2 takes the move of a whole variant for a read of its unset
        // members (-Wmaybe-uninitialized).
        if constexpr (AppEntity<T>) {
            return std::optional<IntentValue>(std::in_place, value->entityValue());
        } else {
            return std::optional<IntentValue>(std::in_place, *value);
        }
    }

    std::optional<T> default_;
    std::optional<T> value_;
};

}  // namespace appintents
