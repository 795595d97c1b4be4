#pragma once

#include <cstdint>

namespace usernotifications {

// How a notification is shown while the application runs; a set of flags, empty for not at all.
struct PresentationOptions {
    std::uint64_t rawValue = 0;

    static constexpr std::uint64_t badge = 1;
    static constexpr std::uint64_t sound = 2;
    static constexpr std::uint64_t list = 8;
    static constexpr std::uint64_t banner = 16;

    [[nodiscard]] constexpr bool contains(std::uint64_t flags) const noexcept { return (rawValue & flags) == flags; }
    [[nodiscard]] constexpr bool isEmpty() const noexcept { return rawValue == 0; }
    friend constexpr bool operator==(PresentationOptions, PresentationOptions) = default;
};

}  // namespace usernotifications
