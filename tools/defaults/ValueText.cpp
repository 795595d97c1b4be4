#include "tools/defaults/ValueText.hpp"

#include "platform/runtime/base/Overloaded.hpp"

#include <array>
#include <charconv>
#include <cstdint>

namespace defaults_tool {
namespace {

constexpr std::string_view hexDigits = "0123456789abcdef";

// Well-formed UTF-8 as Unicode defines it: no overlong forms, no surrogates,
// nothing past U+10FFFF.
bool isValidUTF8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto byte = static_cast<unsigned char>(text[i + k]);
            const unsigned char least = k == 1 ? low : 0x80;
            const unsigned char most = k == 1 ? high : 0xBF;
            if (byte < least || byte > most) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

std::string hex(std::string_view bytes) {
    std::string result;
    result.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        result += hexDigits[byte >> 4];
        result += hexDigits[byte & 0x0F];
    }
    return result;
}

template <typename Number>
std::string decimal(Number number) {
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
    return std::string(buffer.data(), end);
}

}  // namespace

std::string ValueText::plain(const foundation::DefaultsValue& value) {
    return std::visit(base::Overloaded{
                          [](const std::string& text) { return text; },
                          [](const foundation::Data& data) {
                              // Appended: GCC 12 at -O3 misreports a literal added in front of a std::string.
                              return isValidUTF8(data.view())
                                         ? std::string(data.view())
                                         : std::string(1, '<').append(hex(data.view())).append(1, '>');
                          },
                          [](bool flag) { return std::string(flag ? "1" : "0"); },
                          [](std::int64_t number) { return decimal(number); },
                          [](double number) { return decimal(number); },
                      },
                      value);
}

std::string ValueText::oneLine(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\':
            result += "\\\\";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                result += "\\x";
                result += hexDigits[byte >> 4];
                result += hexDigits[byte & 0x0F];
            } else {
                result += c;
            }
        }
    }
    return result;
}

}  // namespace defaults_tool
