#pragma once

#include <cstdint>

namespace usernotifications {

// What the application asks to be allowed to do with notifications; a set of flags.
struct AuthorizationOptions {
    std::uint64_t rawValue = 0;

    static constexpr std::uint64_t badge = 1;
    static constexpr std::uint64_t sound = 2;
    static constexpr std::uint64_t alert = 4;
    static constexpr std::uint64_t provisional = 64;

    [[nodiscard]] constexpr bool contains(std::uint64_t flags) const noexcept { return (rawValue & flags) == flags; }
    friend constexpr bool operator==(AuthorizationOptions, AuthorizationOptions) = default;
};

}  // namespace usernotifications
