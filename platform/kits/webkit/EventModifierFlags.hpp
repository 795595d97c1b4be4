#pragma once

#include <cstdint>

namespace webkit {

// The keys held down during the click that started a navigation. On this desktop the key that the
// other platform calls Command is Control; Super is kept apart so that it never counts as Control.
struct EventModifierFlags {
    enum Flag : std::uint8_t {
        shift = 1U << 0U,
        control = 1U << 1U,
        option = 1U << 2U,  // Alt
        super = 1U << 3U,
        capsLock = 1U << 4U,
    };

    std::uint8_t bits = 0;

    [[nodiscard]] constexpr bool contains(Flag flag) const noexcept { return (bits & flag) != 0; }
    // Only these keys, ignoring Caps Lock, which is a state and not a key held for the click.
    [[nodiscard]] constexpr bool isExactly(std::uint8_t flags) const noexcept {
        return (bits & static_cast<std::uint8_t>(~capsLock)) == flags;
    }
    friend constexpr bool operator==(EventModifierFlags, EventModifierFlags) = default;
};

}  // namespace webkit
