#include "platform/runtime/foundation/core/UUID.hpp"

#include "platform/runtime/foundation/core/Hasher.hpp"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace foundation {
namespace {

constexpr std::size_t textLength = 36;

// Where each byte's two digits start in the text.
constexpr std::array<std::uint8_t, 16> digitPairs = {0,  2,  4,  6,  9,  11, 14, 16,
                                                     19, 21, 24, 26, 28, 30, 32, 34};
constexpr std::array<std::uint8_t, 4> hyphens = {8, 13, 18, 23};

// A character's value as a hexadecimal digit of either case, or `notADigit`.
constexpr std::uint8_t notADigit = 0x10;
constexpr std::array<std::uint8_t, 256> digitValues = [] {
    std::array<std::uint8_t, 256> table{};
    table.fill(notADigit);
    for (std::uint8_t i = 0; i < 10; ++i) {
        table['0' + i] = i;
    }
    for (std::uint8_t i = 0; i < 6; ++i) {
        table['a' + i] = static_cast<std::uint8_t>(10 + i);
        table['A' + i] = static_cast<std::uint8_t>(10 + i);
    }
    return table;
}();

void fillRandom(void* buffer, std::size_t count) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (count > 0) {
        const ssize_t got = getrandom(bytes, count, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw std::system_error(errno, std::generic_category(), "getrandom");
        }
        bytes += got;
        count -= static_cast<std::size_t>(got);
    }
}

}  // namespace

UUID::UUID() : bytes_{} {
    fillRandom(bytes_.data(), bytes_.size());
    bytes_[6] = static_cast<std::uint8_t>((bytes_[6] & 0x0F) | 0x40);  // version 4
    bytes_[8] = static_cast<std::uint8_t>((bytes_[8] & 0x3F) | 0x80);  // RFC 4122 variant
}

// Every character is looked at whatever the others hold, and one test at the
// end decides: identifiers are read by the thousand from cached records.
std::optional<UUID> UUID::fromString(std::string_view text) {
    if (text.size() != textLength) {
        return std::nullopt;
    }
    const auto* chars = reinterpret_cast<const unsigned char*>(text.data());
    bool wellFormed = true;
    for (const std::uint8_t at : hyphens) {
        wellFormed &= chars[at] == '-';
    }
    Bytes bytes{};
    std::uint8_t seen = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t high = digitValues[chars[digitPairs[i]]];
        const std::uint8_t low = digitValues[chars[digitPairs[i] + 1]];
        seen |= high | low;
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    if (!wellFormed || (seen & notADigit) != 0) {
        return std::nullopt;
    }
    return UUID(bytes);
}

std::string UUID::uuidString() const {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(textLength);
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text.push_back('-');
        text.push_back(digits[bytes_[i] >> 4]);
        text.push_back(digits[bytes_[i] & 0x0F]);
    }
    return text;
}

void UUID::hash(Hasher& hasher) const {
    hasher.combineBytes(bytes_.data(), bytes_.size());
}

}  // namespace foundation
