#pragma once

#include "platform/runtime/foundation/core/Hasher.hpp"

#include <concepts>
#include <memory>
#include <optional>
#include <utility>

namespace kestrova {

// An optional value kept on the heap, for the fields through which the
// service's records nest into one another (a journal's owner, an entry's
// journal, a comment's entry, and the lists of records). The type may be
// incomplete where the field is declared, which is what lets the records
// refer to each other.
//
// It behaves as a plain value: copies share storage until one of them is
// changed through mutate(), which first takes a private copy, so a copy of a
// record is always independent of the original and copying a deep record
// costs one reference count.
template <typename T>
class Indirect {
public:
    using value_type = T;

    Indirect() = default;
    Indirect(std::nullopt_t) {}  // NOLINT(google-explicit-constructor)
    Indirect(T value) : value_(std::make_shared<T>(std::move(value))) {}  // NOLINT
    // Holds a value that others hold too, as copies of one Indirect do: a
    // decoder gives the records read from equal values this way.
    explicit Indirect(std::shared_ptr<T> shared) : value_(std::move(shared)) {}
    // A template, so that a record's implicit copy and move, where T may still be incomplete, do not
    // instantiate std::optional<T> while choosing their constructor (clang refuses that).
    template <typename U>
        requires std::same_as<U, T>
    Indirect(std::optional<U> value) {  // NOLINT(google-explicit-constructor)
        if (value) {
            value_ = std::make_shared<T>(std::move(*value));
        }
    }

    [[nodiscard]] bool has_value() const noexcept { return value_ != nullptr; }
    explicit operator bool() const noexcept { return has_value(); }
    const T& operator*() const noexcept { return *value_; }
    const T* operator->() const noexcept { return value_.get(); }
    // No value gives nullptr: lets coding write "present or absent" in one call.
    [[nodiscard]] const T* get() const noexcept { return value_.get(); }

    // A writable reference to this copy's own value; requires a value.
    T& mutate() {
        if (value_.use_count() > 1) {
            value_ = std::make_shared<T>(*value_);
        }
        return *value_;
    }

    void reset() noexcept { value_.reset(); }

    friend bool operator==(const Indirect& a, const Indirect& b) {
        if (a.value_ == b.value_) {
            return true;
        }
        if (!a.value_ || !b.value_) {
            return false;
        }
        return *a.value_ == *b.value_;
    }

    void hash(foundation::Hasher& hasher) const {
        hasher.combine(has_value());
        if (value_) {
            hasher.combine(*value_);
        }
    }

private:
    // Shared between copies; mutate() is the one place that writes, and only
    // once this copy owns the value alone.
    std::shared_ptr<T> value_;
};

}  // namespace kestrova
