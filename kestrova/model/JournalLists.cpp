#include "kestrova/model/JournalLists.hpp"

#include "platform/runtime/foundation/core/DateFormatter.hpp"
#include "kestrova/model/User.hpp"

#include <algorithm>

namespace kestrova {
namespace {

template <typename Key>
void sortBy(std::vector<Journal>& journals, Key key) {
    std::stable_sort(journals.begin(), journals.end(),
                     [&](const Journal& a, const Journal& b) { return key(a) < key(b); });
}

template <typename Predicate>
std::vector<Journal> select(const std::vector<Journal>& journals, Predicate selected) {
    std::vector<Journal> result;
    std::copy_if(journals.begin(), journals.end(), std::back_inserter(result), selected);
    return result;
}

bool isArchived(const Journal& journal) {
    return journal.archived.value_or(false);
}

// Read afresh for every journal: a list examined across midnight must see the
// day change, and the user's time zone may change under a running process.
foundation::Text todaysDayText() {
    foundation::DateFormatter formatter;
    formatter.setDateFormat("yyyy-MM-dd");
    return formatter.string(foundation::Date::now());
}

}  // namespace

std::vector<Journal> dueJournals(const std::vector<Journal>& journals) {
    auto due = select(journals, [](const Journal& j) { return j.isDue.value_or(false) && !isArchived(j); });
    sortBy(due, [](const Journal& j) { return j.index.value_or(0); });
    return due;
}

std::vector<Journal> notTodayJournals(const std::vector<Journal>& journals) {
    // Only an explicit false passes: a journal without the flags is in neither list.
    auto notToday = select(journals, [](const Journal& j) {
        return j.isDaily == false && j.isDue == false && !isArchived(j);
    });
    sortBy(notToday, [](const Journal& j) { return j.notTodayIndex.value_or(0); });
    return notToday;
}

std::vector<Journal> journalsDoneToday(const std::vector<Journal>& journals) {
    auto done = dueJournals(journals);
    std::erase_if(done, [](const Journal& j) { return j.streakDate.value_or(foundation::Text()) != todaysDayText(); });
    // std::optional orders an absent instant before every present one.
    sortBy(done, [](const Journal& j) { return j.lastEntryAt; });
    return done;
}

}  // namespace kestrova
