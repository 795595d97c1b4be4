#pragma once

#include "kestrova/model/Journal.hpp"
#include "platform/runtime/foundation/core/Date.hpp"

#include <cstdint>
#include <vector>

namespace pellicor {

// One entry of the Today widget.
struct DailyEntry {
    foundation::Date date;
    std::vector<kestrova::Journal> journals;
    std::int64_t numberOfEntriesToday = 0;
    // The share of today's due journals that are done, 0 to 1.
    float percentageToday = 0;
};

}  // namespace pellicor
