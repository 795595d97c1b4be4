#include "pellicor/WidgetColors.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pellicor {
namespace {

// The text cut into characters, each the bytes of one code point. A byte that starts no valid
// sequence is a character of its own, so malformed text still counts and cuts.
std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> cut;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start + 1;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) {
            ++end;
        }
        cut.push_back(text.substr(start, end - start));
        start = end;
    }
    return cut;
}

// The code point of one character; none for a malformed one.
std::optional<char32_t> codePoint(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character.front());
    if (character.size() == 1) {
        return lead < 0x80U ? std::optional<char32_t>(lead) : std::nullopt;
    }
    // The lead byte says how long its sequence is; one that disagrees with the length is malformed.
    const std::size_t expected = (lead & 0xE0U) == 0xC0U ? 2 : (lead & 0xF0U) == 0xE0U ? 3 : (lead & 0xF8U) == 0xF0U ? 4 : 0;
    if (expected != character.size()) {
        return std::nullopt;
    }
    char32_t value = lead & (0x7FU >> expected);
    for (std::size_t i = 1; i < character.size(); ++i) {
        value = (value << 6U) | (static_cast<unsigned char>(character[i]) & 0x3FU);
    }
    return value;
}

// White space and line breaks of Unicode.
bool isWhitespace(std::string_view character) {
    const auto value = codePoint(character);
    if (!value) {
        return false;
    }
    const char32_t c = *value;
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

std::optional<unsigned> hexDigit(std::string_view character) {
    if (character.size() != 1) {
        return std::nullopt;
    }
    const char c = character.front();
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<unsigned>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<unsigned>(c - 'A' + 10);
    }
    return std::nullopt;
}

// Reads a hexadecimal number the way a text scanner does: white space skipped, an optional "0x"
// or "0X", then digits up to the first character that is none. Nothing read is 0.
std::uint64_t scanHex(const std::vector<std::string_view>& text) {
    std::size_t at = 0;
    while (at < text.size() && isWhitespace(text[at])) {
        ++at;
    }
    if (at + 1 < text.size() && text[at] == "0" && (text[at + 1] == "x" || text[at + 1] == "X")) {
        at += 2;
    }
    std::uint64_t value = 0;
    for (; at < text.size(); ++at) {
        const auto digit = hexDigit(text[at]);
        if (!digit) {
            break;
        }
        value = (value << 4U) | *digit;
    }
    return value;
}

double channel(std::uint64_t value, unsigned lowestBit) {
    return static_cast<double>((value >> lowestBit) & 0xFFU) / 255.0;
}

}  // namespace

ui::Color colorFromHex(std::string_view text) {
    std::vector<std::string_view> cut = characters(text);
    std::size_t first = 0;
    std::size_t last = cut.size();
    while (first < last && isWhitespace(cut[first])) {
        ++first;
    }
    while (last > first && isWhitespace(cut[last - 1])) {
        --last;
    }
    cut = std::vector<std::string_view>(cut.begin() + static_cast<std::ptrdiff_t>(first),
                                        cut.begin() + static_cast<std::ptrdiff_t>(last));
    if (!cut.empty() && cut.front() == "#") {
        cut.erase(cut.begin());
    }
    if (cut.size() % 2 == 1) {
        cut.push_back(cut.back());
    }
    if (cut.size() > 8) {
        cut.resize(8);
    }
    const std::uint64_t value = scanHex(cut);
    switch (cut.size()) {
    case 2:
        return ui::Color::sRGB(channel(value, 0), channel(value, 0), channel(value, 0), 1.0);
    case 4:
        return ui::Color::sRGB(channel(value, 8), channel(value, 8), channel(value, 8), channel(value, 0));
    case 6:
        return ui::Color::sRGB(channel(value, 16), channel(value, 8), channel(value, 0), 1.0);
    case 8:
        return ui::Color::sRGB(channel(value, 24), channel(value, 16), channel(value, 8), channel(value, 0));
    default:
        return ui::Color::sRGB(1.0, 1.0, 1.0, 1.0);
    }
}

const ui::Color& dailyColor() {
    static const ui::Color color("Daily");
    return color;
}

const ui::Color& publishingColor() {
    static const ui::Color color("Publishing");
    return color;
}

const ui::Color& timeColor() {
    static const ui::Color color("Time");
    return color;
}

const ui::Color& darkGrayColor() {
    static const ui::Color color("DarkGray");
    return color;
}

}  // namespace pellicor
