#pragma once

#include <cstdint>
#include <variant>

namespace intents {

// A number object as parameters hold flags and counts: a Boolean, an integer
// or a double, kept as it was given. Its truth value is the other platform's:
// zero is false, any other number true.
class Number {
public:
    explicit Number(bool value) : value_(value) {}
    explicit Number(std::int64_t value) : value_(value) {}
    explicit Number(double value) : value_(value) {}

    [[nodiscard]] bool boolValue() const noexcept;
    [[nodiscard]] const std::variant<bool, std::int64_t, double>& value() const noexcept { return value_; }

    friend bool operator==(const Number&, const Number&) = default;

private:
    std::variant<bool, std::int64_t, double> value_;
};

}  // namespace intents
