#include "platform/runtime/foundation/core/Date.hpp"

#include "platform/runtime/foundation/core/Hasher.hpp"

#include <chrono>

namespace foundation {

Date Date::now() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return fromTimeIntervalSince1970(std::chrono::duration<double>(sinceEpoch).count());
}

void Date::hash(Hasher& hasher) const {
    hasher.combine(seconds_);
}

}  // namespace foundation
