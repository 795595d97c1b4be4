#pragma once

#include "platform/kits/appintents/DisplayRepresentation.hpp"
#include "platform/kits/appintents/IntentValue.hpp"

#include <concepts>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace appintents {

// What an entity type gives the framework: its name among the types, the name it shows ("Journal"),
// its identifier as text, how an instance shows, and its fields taken apart and put back together.
// `fromValue` throws std::invalid_argument for a value that no instance of the type gives.
template <typename E>
concept AppEntity = requires(const E& entity, const EntityValue& value) {
    { E::typeName } -> std::convertible_to<std::string_view>;
    { E::typeDisplayName() } -> std::convertible_to<std::string>;
    { entity.identifier() } -> std::convertible_to<std::string>;
    { entity.displayRepresentation() } -> std::convertible_to<DisplayRepresentation>;
    { entity.entityValue() } -> std::same_as<EntityValue>;
    { E::fromValue(value) } -> std::same_as<E>;
};

// An entity that exists only as a value handed from one action to the next: nothing looks it up.
// Its fields are titled properties, which a user picks one by one in a later step.
class TransientAppEntity {
public:
    [[nodiscard]] const std::vector<EntityProperty>& properties() const noexcept { return properties_; }

protected:
    // Every property by key and title, none with a value yet.
    explicit TransientAppEntity(std::vector<std::pair<std::string, std::string>> titles);

    void setProperty(std::string_view key, EntityProperty::Value value);
    template <typename T>
    [[nodiscard]] std::optional<T> property(std::string_view key) const {
        for (const auto& each : properties_) {
            if (each.key == key) {
                if (const T* value = std::get_if<T>(&each.value)) {
                    return *value;
                }
            }
        }
        return std::nullopt;
    }

private:
    std::vector<EntityProperty> properties_;
};

}  // namespace appintents
