#include "pellicor/RefreshDate.hpp"

#include "platform/runtime/foundation/core/Calendar.hpp"

namespace pellicor {

foundation::Date refreshDate() {
    constexpr int minutes = 15;
    const auto now = foundation::Date::now();
    // The calendar adds minutes as elapsed time; the same arithmetic stands in should it refuse.
    return foundation::Calendar::current()
        .dateByAdding(foundation::Calendar::Component::minute, minutes, now)
        .value_or(now.addingTimeInterval(minutes * 60.0));
}

}  // namespace pellicor
