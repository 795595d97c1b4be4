#include "platform/runtime/foundation/coding/internal/JSONNumber.hpp"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <limits>
#include <system_error>

namespace foundation {
namespace {

bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// A valid number taken apart: its digits before and after the point, and the
// power of ten written after them.
struct Parts {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
    std::int64_t exponent = 0;

    [[nodiscard]] std::size_t digitCount() const noexcept { return whole.size() + fraction.size(); }
    [[nodiscard]] char digit(std::size_t i) const noexcept {
        return i < whole.size() ? whole[i] : fraction[i - whole.size()];
    }
};

// An exponent beyond this puts any number of digits a document can hold far
// beyond every type's range or far below its smallest step, so larger ones
// are held at it rather than overflow.
constexpr std::int64_t exponentLimit = std::int64_t{1} << 40;

Parts split(std::string_view text) noexcept {
    Parts parts;
    std::size_t i = 0;
    if (text[i] == '-') {
        parts.negative = true;
        ++i;
    }
    std::size_t start = i;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    parts.whole = text.substr(start, i - start);
    if (i < text.size() && text[i] == '.') {
        start = ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
        }
        parts.fraction = text.substr(start, i - start);
    }
    if (i < text.size()) {  // e or E
        ++i;
        bool negativeExponent = false;
        if (text[i] == '-' || text[i] == '+') {
            negativeExponent = text[i] == '-';
            ++i;
        }
        std::int64_t exponent = 0;
        for (; i < text.size(); ++i) {
            exponent = std::min(exponent * 10 + (text[i] - '0'), exponentLimit);
        }
        parts.exponent = negativeExponent ? -exponent : exponent;
    }
    return parts;
}

// The place of the first digit that is not a zero; the number of digits when all are.
std::size_t firstSignificantDigit(const Parts& parts) noexcept {
    std::size_t first = 0;
    while (first < parts.digitCount() && parts.digit(first) == '0') {
        ++first;
    }
    return first;
}

}  // namespace

bool JSONNumber::isValid(std::string_view text) noexcept {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && text[i] == '-') {
        ++i;
    }
    if (i == n || !isDigit(text[i])) {
        return false;
    }
    if (text[i] == '0') {
        ++i;
    } else {
        while (i < n && isDigit(text[i])) {
            ++i;
        }
    }
    if (i < n && text[i] == '.') {
        ++i;
        if (i == n || !isDigit(text[i])) {
            return false;
        }
        while (i < n && isDigit(text[i])) {
            ++i;
        }
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        if (i == n || !isDigit(text[i])) {
            return false;
        }
        while (i < n && isDigit(text[i])) {
            ++i;
        }
    }
    return i == n;
}

std::optional<std::int64_t> JSONNumber::exactInt64() const noexcept {
    // Most integers are plain digits that fit at once.
    {
        const bool negative = text_[0] == '-';
        const std::string_view digits = text_.substr(negative ? 1 : 0);
        if (digits.size() <= 18) {
            std::int64_t value = 0;
            bool plain = true;
            for (const char c : digits) {
                if (!isDigit(c)) {
                    plain = false;
                    break;
                }
                value = value * 10 + (c - '0');
            }
            if (plain) {
                return negative ? -value : value;
            }
        }
    }

    // Otherwise the value is the significant digits (no leading or trailing
    // zeros) times a power of ten, and it is whole when that power is not negative.
    const Parts parts = split(text_);
    const std::size_t count = parts.digitCount();
    const std::size_t first = firstSignificantDigit(parts);
    if (first == count) {
        return 0;
    }
    std::size_t last = count - 1;
    while (parts.digit(last) == '0') {
        --last;
    }
    const std::int64_t power = parts.exponent - static_cast<std::int64_t>(parts.fraction.size()) +
                               static_cast<std::int64_t>(count - 1 - last);
    const auto significant = static_cast<std::int64_t>(last - first + 1);
    if (power < 0 || significant + power > std::numeric_limits<std::uint64_t>::digits10 + 1) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    for (std::size_t i = first; i <= last; ++i) {
        if (__builtin_mul_overflow(magnitude, 10u, &magnitude) ||
            __builtin_add_overflow(magnitude, static_cast<unsigned>(parts.digit(i) - '0'), &magnitude)) {
            return std::nullopt;
        }
    }
    for (std::int64_t i = 0; i < power; ++i) {
        if (__builtin_mul_overflow(magnitude, 10u, &magnitude)) {
            return std::nullopt;
        }
    }
    constexpr std::uint64_t largest = std::numeric_limits<std::int64_t>::max();
    if (parts.negative) {
        if (magnitude > largest + 1) {
            return std::nullopt;
        }
        return static_cast<std::int64_t>(0 - magnitude);
    }
    if (magnitude > largest) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(magnitude);
}

bool JSONNumber::isBelowOne() const noexcept {
    const Parts parts = split(text_);
    const std::size_t count = parts.digitCount();
    const std::size_t first = firstSignificantDigit(parts);
    if (first == count) {
        return true;
    }
    // The power of ten of the first significant digit.
    return static_cast<std::int64_t>(parts.whole.size()) - 1 - static_cast<std::int64_t>(first) +
               parts.exponent < 0;
}

template <typename Floating>
std::optional<Floating> JSONNumber::nearest() const noexcept {
    Floating value{};
    const auto result = std::from_chars(text_.data(), text_.data() + text_.size(), value);
    if (result.ec == std::errc()) {
        return value;
    }
    // Out of range either way: below the smallest step it is zero, above the largest value nothing.
    if (isBelowOne()) {
        return text_[0] == '-' ? -Floating(0) : Floating(0);
    }
    return std::nullopt;
}

std::optional<double> JSONNumber::nearestDouble() const noexcept {
    return nearest<double>();
}

std::optional<float> JSONNumber::nearestFloat() const noexcept {
    return nearest<float>();
}

}  // namespace foundation
