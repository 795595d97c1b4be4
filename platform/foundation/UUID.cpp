#include "foundation/UUID.hpp"

#include "foundation/Hasher.hpp"

#include <sys/random.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace foundation {
namespace {

constexpr std::size_t textLength = 36;

bool isHyphenPosition(std::size_t i) {
    return i == 8 || i == 13 || i == 18 || i == 23;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

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

std::optional<UUID> UUID::fromString(std::string_view text) {
    if (text.size() != textLength) {
        return std::nullopt;
    }
    Bytes bytes{};
    std::size_t byteIndex = 0;
    for (std::size_t i = 0; i < textLength;) {
        if (isHyphenPosition(i)) {
            if (text[i] != '-') return std::nullopt;
            ++i;
            continue;
        }
        const int high = hexValue(text[i]);
        const int low = hexValue(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes[byteIndex++] = static_cast<std::uint8_t>(high << 4 | low);
        i += 2;
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
