#pragma once

// Private to the decoder's sources.

#include <cstdint>
#include <optional>
#include <string_view>

namespace foundation {

// A JSON number as the document spells it. The document keeps numbers as
// text and a field reads the text as the type it wants, so that each type
// gets the number's own value rounded once (or refused), and a number that no
// type can hold fails only the field that reads it.
class JSONNumber {
public:
    // Whether the text follows the JSON grammar for a number, nothing before or after.
    [[nodiscard]] static bool isValid(std::string_view text) noexcept;

    // The text must be valid.
    explicit JSONNumber(std::string_view text) noexcept : text_(text) {}

    [[nodiscard]] std::string_view text() const noexcept { return text_; }

    // The number's exact value when it is a whole number within range, in any
    // spelling (3, 3.0, 0.3e1); nothing for a fraction or a value out of range.
    [[nodiscard]] std::optional<std::int64_t> exactInt64() const noexcept;
    // The nearest double; a magnitude too small for a double is zero of the
    // number's sign, one too large is nothing.
    [[nodiscard]] std::optional<double> nearestDouble() const noexcept;
    // The nearest float, rounded from the text itself (never through a double).
    [[nodiscard]] std::optional<float> nearestFloat() const noexcept;

private:
    template <typename Floating>
    [[nodiscard]] std::optional<Floating> nearest() const noexcept;
    // Whether the magnitude is below one, for telling underflow from overflow.
    [[nodiscard]] bool isBelowOne() const noexcept;

    std::string_view text_;
};

}  // namespace foundation
