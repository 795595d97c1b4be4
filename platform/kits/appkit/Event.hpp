#pragma once

#include <cstdint>

namespace appkit {

// The kinds of input event that reach the application's controls; values are bit positions of the
// masks controls are given (`EventMask`).
enum class EventType : std::uint8_t {
    leftMouseUp = 2,
    rightMouseUp = 4,
};

using EventMask = std::uint64_t;

[[nodiscard]] constexpr EventMask eventMask(EventType type) noexcept {
    return EventMask{1} << static_cast<unsigned>(type);
}

// The input event being handled.
struct Event {
    EventType type;
};

}  // namespace appkit
