#pragma once

#include "platform/runtime/foundation/core/Date.hpp"

#include <functional>
#include <memory>

namespace widgethost {

// The host's time: what it is now, and one wake-up at a date, for the next entry or timeline.
// Used on the main thread.
class Clock {
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual foundation::Date now() const = 0;
    // Calls `due` on the main thread once the date has come; replaces the previous wake-up.
    virtual void wakeAt(foundation::Date date, std::function<void()> due) = 0;
};

// The system's clock, waking through the main loop.
std::unique_ptr<Clock> makeSystemClock();

}  // namespace widgethost
