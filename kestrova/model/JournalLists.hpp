#pragma once

#include "kestrova/model/Journal.hpp"

#include <vector>

namespace kestrova {

// The journals due today that are not archived, by `index` (absent as 0),
// ties in the order given.
std::vector<Journal> dueJournals(const std::vector<Journal>& journals);

// The journals explicitly neither daily nor due, not archived, by
// `notTodayIndex` (absent as 0), ties in the order given.
std::vector<Journal> notTodayJournals(const std::vector<Journal>& journals);

// Of the due journals, those whose streak day is today's local day, by
// `lastEntryAt` (absent first), ties in due order. Takes the whole list.
std::vector<Journal> journalsDoneToday(const std::vector<Journal>& journals);

}  // namespace kestrova
