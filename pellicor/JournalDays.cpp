#include "pellicor/JournalDays.hpp"

#include "kestrova/model/JournalLists.hpp"
#include "platform/runtime/foundation/core/Calendar.hpp"
#include "platform/runtime/foundation/core/DateFormatter.hpp"

#include <algorithm>
#include <compare>
#include <string>

namespace pellicor {
namespace {

foundation::DateFormatter dayFormatter() {
    foundation::DateFormatter formatter;
    formatter.setDateFormat("yyyy-MM-dd");
    return formatter;
}

// Formatted afresh at every use: a widget process outlives midnight and may see the user's zone change.
std::string todayText() {
    return dayFormatter().string(foundation::Date::now());
}

bool isStreakDateToday(const kestrova::Journal& journal) {
    return journal.streakDate.has_value() && *journal.streakDate == foundation::Text(todayText());
}

struct Sample {
    std::int64_t id;
    const char* title;
    const char* iconEmoji;
    std::int64_t entriesToday;
    std::int64_t streak;
    bool doneToday;
};

// Done today: the streak day is today and nothing is next. Still to do: posted yesterday, next due today.
constexpr Sample samples[] = {
    {1, "Meditation", "\U0001F9D8\u200D\u2642\uFE0F", 1, 263, true},
    {2, "Workout", "\U0001F3CB\uFE0F", 1, 186, true},
    {3, "Vitamin D", "\u2600\uFE0F", 1, 36, true},
    {4, "Probiotics", "\U0001F48A", 0, 43, false},
    {5, "Water", "\U0001F30A", 0, 52, false},
    {6, "Journal", "\U0001F4D3", 0, 14, false},
    {7, "Music", "\U0001F3B9", 0, 31, false},
    {8, "Reading", "\U0001F4D6", 0, 78, false},
    {9, "Bahasa Indonesia", "\U0001F1EE\U0001F1E9", 0, 4, false},
};

}  // namespace

std::vector<kestrova::Journal> journalsNotDoneToday(const std::vector<kestrova::Journal>& journals) {
    auto notDone = kestrova::dueJournals(journals);
    std::erase_if(notDone, isStreakDateToday);
    return notDone;
}

bool isPostedToday(const kestrova::Journal& journal) {
    return isStreakDateToday(journal);
}

bool isNextStreakDateToday(const kestrova::Journal& journal) {
    if (!journal.nextStreakDate) {
        return false;
    }
    const auto next = dayFormatter().date(journal.nextStreakDate->view());
    if (!next) {
        return false;
    }
    const auto calendar = foundation::Calendar::current();
    const auto now = foundation::Date::now();
    return calendar.isDateInToday(*next) ||
           calendar.compare(now, *next, foundation::Calendar::Component::day) == std::strong_ordering::less;
}

std::vector<kestrova::Journal> sampleJournals() {
    const auto formatter = dayFormatter();
    const auto now = foundation::Date::now();
    const foundation::Text today = formatter.string(now);
    // The current calendar always knows the day before now; now itself stands in should it not.
    const foundation::Text yesterday = formatter.string(
        foundation::Calendar::current().dateByAdding(foundation::Calendar::Component::day, -1, now).value_or(now));

    std::vector<kestrova::Journal> journals;
    journals.reserve(std::size(samples));
    for (const auto& sample : samples) {
        kestrova::Journal journal;
        journal.id = sample.id;
        journal.title = sample.title;
        journal.iconEmoji = foundation::Text(sample.iconEmoji);
        journal.isDaily = true;
        journal.entriesToday = sample.entriesToday;
        journal.streak = sample.streak;
        journal.streakDate = sample.doneToday ? today : yesterday;
        if (!sample.doneToday) {
            journal.nextStreakDate = today;
        }
        journal.isPrivate = false;
        journal.isDue = true;
        journals.push_back(std::move(journal));
    }
    return journals;
}

}  // namespace pellicor
