#pragma once

#include "kestrova/model/Journal.hpp"

#include <vector>

namespace pellicor {

// The day tests of the widgets. Today is the local calendar day written "yyyy-MM-dd", formatted
// afresh at every call, and compared as text with the journal's day texts.

// The due journals (kestrova::dueJournals, in due order) whose streak day is not today.
[[nodiscard]] std::vector<kestrova::Journal> journalsNotDoneToday(const std::vector<kestrova::Journal>& journals);

// The journal's streak day is today; never for a journal without one.
[[nodiscard]] bool isPostedToday(const kestrova::Journal& journal);

// The journal's next streak day, read as "yyyy-MM-dd", is today or later: its streak is alive.
// False without one and for a text that is no such day.
[[nodiscard]] bool isNextStreakDateToday(const kestrova::Journal& journal);

// The nine journals the widgets show where no real data is at hand: three done today, six still
// to do with a live streak, all due. Built afresh at every call.
[[nodiscard]] std::vector<kestrova::Journal> sampleJournals();

}  // namespace pellicor
