#include "platform/runtime/foundation/core/Data.hpp"

#include "platform/runtime/foundation/core/Hasher.hpp"

#include <array>

namespace foundation {
namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// A character's six bits, or `notInAlphabet` for any other byte, padding included.
constexpr std::uint8_t notInAlphabet = 0x80;
constexpr std::array<std::uint8_t, 256> sextets = [] {
    std::array<std::uint8_t, 256> table{};
    table.fill(notInAlphabet);
    for (std::uint8_t i = 0; i < 64; ++i) {
        table[static_cast<unsigned char>(alphabet[i])] = i;
    }
    return table;
}();

// The 24 bits of four characters, with notInAlphabet's bit set above them
// when any of the four is not in the alphabet.
std::uint32_t quad(const unsigned char* text) {
    const std::uint32_t a = sextets[text[0]];
    const std::uint32_t b = sextets[text[1]];
    const std::uint32_t c = sextets[text[2]];
    const std::uint32_t d = sextets[text[3]];
    return (a << 18 | b << 12 | c << 6 | d) | ((a | b | c | d) & notInAlphabet) << 24;
}

constexpr std::uint32_t quadRefused = std::uint32_t{notInAlphabet} << 24;

}  // namespace

Data::Data(const void* bytes, std::size_t count)
    : bytes_(static_cast<const std::uint8_t*>(bytes), static_cast<const std::uint8_t*>(bytes) + count) {}

// Decoded straight into the result: one pass, no copies. Bits that the last
// character carries beyond the final byte are dropped, not refused.
std::optional<Data> Data::fromBase64(std::string_view text) {
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    if (text.empty()) {
        return Data{};
    }
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t quads = text.size() / 4;
    const std::size_t padding = in[text.size() - 1] != '=' ? 0 : in[text.size() - 2] != '=' ? 1 : 2;

    Data data;
    data.bytes_.resize(quads * 3 - padding);
    std::uint8_t* out = data.bytes_.data();
    std::uint32_t refused = 0;
    for (std::size_t i = 0; i + 1 < quads; ++i, in += 4, out += 3) {
        const std::uint32_t bits = quad(in);
        refused |= bits;
        out[0] = static_cast<std::uint8_t>(bits >> 16);
        out[1] = static_cast<std::uint8_t>(bits >> 8);
        out[2] = static_cast<std::uint8_t>(bits);
    }
    // The last four characters, with their padding read as 'A' so that one
    // lookup covers them; a padding character anywhere else is refused above.
    constexpr unsigned char zeroBits = 'A';
    const unsigned char last[4] = {in[0], in[1], padding == 2 ? zeroBits : in[2],
                                   padding >= 1 ? zeroBits : in[3]};
    const std::uint32_t bits = quad(last);
    refused |= bits;
    if ((refused & quadRefused) != 0) {
        return std::nullopt;
    }
    out[0] = static_cast<std::uint8_t>(bits >> 16);
    if (padding < 2) {
        out[1] = static_cast<std::uint8_t>(bits >> 8);
    }
    if (padding < 1) {
        out[2] = static_cast<std::uint8_t>(bits);
    }
    return data;
}

std::string Data::base64EncodedString() const {
    std::string text((bytes_.size() + 2) / 3 * 4, '=');
    const std::uint8_t* in = bytes_.data();
    char* out = text.data();
    std::size_t left = bytes_.size();
    for (; left >= 3; left -= 3, in += 3, out += 4) {
        const std::uint32_t bits = std::uint32_t{in[0]} << 16 | std::uint32_t{in[1]} << 8 | in[2];
        out[0] = alphabet[bits >> 18];
        out[1] = alphabet[bits >> 12 & 0x3F];
        out[2] = alphabet[bits >> 6 & 0x3F];
        out[3] = alphabet[bits & 0x3F];
    }
    if (left > 0) {
        const std::uint32_t bits = std::uint32_t{in[0]} << 16 | (left == 2 ? std::uint32_t{in[1]} << 8 : 0);
        out[0] = alphabet[bits >> 18];
        out[1] = alphabet[bits >> 12 & 0x3F];
        if (left == 2) {
            out[2] = alphabet[bits >> 6 & 0x3F];
        }
    }
    return text;
}

void Data::hash(Hasher& hasher) const {
    hasher.combineBytes(bytes_.data(), bytes_.size());
}

}  // namespace foundation
