#include "tests/platform/runtime/foundation/PeerValue.hpp"

#include <span>
#include <vector>

namespace defaults_test {
namespace {

constexpr std::size_t headerSize = 16;  // tag, sequence, size
constexpr std::size_t trailerSize = 8;  // checksum

void putWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t word, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(word >> (8 * i));
    }
}

std::uint64_t word(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t width) {
    std::uint64_t result = 0;
    for (std::size_t i = 0; i < width; ++i) {
        result |= std::uint64_t{bytes[at + i]} << (8 * i);
    }
    return result;
}

// FNV-1a over the bytes.
std::uint64_t checksum(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const auto byte : bytes) {
        hash = (hash ^ byte) * 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace

std::string PeerValue::ownKey(Identity identity) {
    return "value-" + std::to_string(identity.tag) + "-" + std::to_string(identity.sequence);
}

std::string PeerValue::writerKey(std::uint32_t tag) {
    return "writer-" + std::to_string(tag);
}

foundation::Data PeerValue::make(Identity identity, std::size_t size) {
    std::vector<std::uint8_t> bytes(size < headerSize + trailerSize ? headerSize + trailerSize : size);
    putWord(bytes, 0, identity.tag, 4);
    putWord(bytes, 4, identity.sequence, 4);
    putWord(bytes, 8, bytes.size(), 8);
    // xorshift64, seeded from the identity, never zero.
    std::uint64_t state = (std::uint64_t{identity.tag} << 32 | identity.sequence) * 0x9E3779B97F4A7C15ULL | 1;
    for (std::size_t i = headerSize; i < bytes.size() - trailerSize; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        bytes[i] = static_cast<std::uint8_t>(state);
    }
    const auto sum = checksum(std::span(bytes).first(bytes.size() - trailerSize));
    putWord(bytes, bytes.size() - trailerSize, sum, 8);
    return foundation::Data(std::move(bytes));
}

std::optional<PeerValue::Identity> PeerValue::identify(const foundation::Data& data) {
    const auto bytes = data.bytes();
    if (bytes.size() < headerSize + trailerSize || word(bytes, 8, 8) != bytes.size()) {
        return std::nullopt;
    }
    const Identity identity{static_cast<std::uint32_t>(word(bytes, 0, 4)),
                            static_cast<std::uint32_t>(word(bytes, 4, 4))};
    // The header is under the checksum too, so a value whose parts came from
    // two writes fails as surely as a torn one.
    if (checksum(bytes.first(bytes.size() - trailerSize)) != word(bytes, bytes.size() - trailerSize, 8)) {
        return std::nullopt;
    }
    return identity;
}

}  // namespace defaults_test
