#include "platform/runtime/foundation/core/Hasher.hpp"

#include <bit>

namespace foundation {
namespace {

// The finaliser of SplitMix64: every input bit affects every output bit.
std::uint64_t mix(std::uint64_t value) noexcept {
    value ^= value >> 30;
    value *= 0xBF58476D1CE4E5B9ull;
    value ^= value >> 27;
    value *= 0x94D049BB133111EBull;
    value ^= value >> 31;
    return value;
}

}  // namespace

void Hasher::combine(std::uint64_t value) noexcept {
    state_ = mix(state_ ^ mix(value + 0x9E3779B97F4A7C15ull));
}

void Hasher::combine(double value) noexcept {
    combine(value == 0.0 ? std::uint64_t{0} : std::bit_cast<std::uint64_t>(value));
}

void Hasher::combine(float value) noexcept {
    combine(std::uint64_t{value == 0.0f ? 0u : std::bit_cast<std::uint32_t>(value)});
}

void Hasher::combineBytes(const void* bytes, std::size_t count) noexcept {
    const auto* data = static_cast<const unsigned char*>(bytes);
    combine(static_cast<std::uint64_t>(count));
    while (count >= 8) {
        std::uint64_t word;
        std::memcpy(&word, data, 8);
        combine(word);
        data += 8;
        count -= 8;
    }
    if (count > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, data, count);
        combine(word);
    }
}

void Hasher::combine(std::string_view bytes) noexcept {
    combineBytes(bytes.data(), bytes.size());
}

std::size_t Hasher::finalize() const noexcept {
    return static_cast<std::size_t>(mix(state_));
}

}  // namespace foundation
