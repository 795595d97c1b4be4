#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <type_traits>
#include <vector>

namespace foundation {

// Feeds values one after another into a single hash, so that records can hash
// their fields in declaration order the way their equality compares them.
class Hasher {
public:
    void combineBytes(const void* bytes, std::size_t count) noexcept;

    void combine(std::uint64_t value) noexcept;
    void combine(std::int64_t value) noexcept { combine(static_cast<std::uint64_t>(value)); }
    void combine(bool value) noexcept { combine(std::uint64_t{value ? 1u : 0u}); }
    // Zero of either sign feeds the same bits: 0.0 == -0.0 must hash alike.
    void combine(double value) noexcept;
    void combine(float value) noexcept;
    void combine(std::string_view bytes) noexcept;
    // A literal would otherwise bind to the bool overload.
    void combine(const char*) = delete;

    // Anything with a `hash(Hasher&) const` member feeds itself.
    template <typename T>
        requires requires(const T& t, Hasher& h) { t.hash(h); }
    void combine(const T& value) {
        value.hash(*this);
    }

    // Optional values feed a presence marker first, so that "absent" and
    // "present with a value that feeds nothing" differ.
    template <typename T>
    void combine(const std::optional<T>& value) {
        combine(value.has_value());
        if (value) {
            combine(*value);
        }
    }

    // Lists feed their length first, so that [[a], []] and [[], [a]] differ.
    template <typename T>
    void combine(const std::vector<T>& values) {
        combine(static_cast<std::uint64_t>(values.size()));
        for (const auto& value : values) {
            combine(value);
        }
    }

    [[nodiscard]] std::size_t finalize() const noexcept;

private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

// The one-call form, for std::hash specialisations.
template <typename T>
std::size_t hashValue(const T& value) {
    Hasher hasher;
    hasher.combine(value);
    return hasher.finalize();
}

}  // namespace foundation
