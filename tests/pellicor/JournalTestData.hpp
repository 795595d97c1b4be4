#pragma once

#include "kestrova/model/Journal.hpp"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace pellicor::testing {

// The local day `offset` days from today as "yyyy-MM-dd", stepped on the calendar (at noon, so
// that a change of summer time never moves it to another day).
inline std::string localDay(int offset) {
    const std::time_t now = std::time(nullptr);
    std::tm day{};
    localtime_r(&now, &day);
    day.tm_mday += offset;
    day.tm_hour = 12;
    day.tm_min = day.tm_sec = 0;
    day.tm_isdst = -1;
    const std::time_t noon = std::mktime(&day);
    std::tm local{};
    localtime_r(&noon, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

inline kestrova::Journal dueJournal(std::int64_t id) {
    kestrova::Journal journal;
    journal.id = id;
    journal.title = "Journal " + std::to_string(id);
    journal.isDue = true;
    journal.index = id;
    return journal;
}

inline kestrova::Journal doneJournal(std::int64_t id) {
    auto journal = dueJournal(id);
    journal.streakDate = localDay(0);
    return journal;
}

inline std::vector<std::int64_t> ids(const std::vector<kestrova::Journal>& journals) {
    std::vector<std::int64_t> result;
    for (const auto& journal : journals) {
        result.push_back(journal.id);
    }
    return result;
}

}  // namespace pellicor::testing
