#pragma once

#include "kestrova/model/Journal.hpp"
#include "platform/runtime/foundation/core/Date.hpp"

namespace pellicor {

// One entry of the Journal widget: the journal it shows, icon bytes included when they were
// downloaded.
struct JournalEntry {
    foundation::Date date;
    kestrova::Journal journal;
};

}  // namespace pellicor
