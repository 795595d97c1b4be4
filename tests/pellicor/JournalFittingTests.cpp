#include "pellicor/JournalFitting.hpp"

#include "tests/pellicor/JournalTestData.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace pellicor {
namespace {

using ::testing::ElementsAreArray;
using testing::doneJournal;
using testing::dueJournal;
using testing::ids;
using widgetkit::WidgetFamily;

// Not done: ids 1..notDone. Done: ids 101.., the later the id, the later its last entry.
std::vector<kestrova::Journal> journals(int notDone, int done) {
    std::vector<kestrova::Journal> list;
    for (int i = 1; i <= notDone; ++i) {
        list.push_back(dueJournal(i));
    }
    for (int i = 1; i <= done; ++i) {
        auto journal = doneJournal(100 + i);
        journal.lastEntryAt = foundation::Date::fromTimeIntervalSinceReferenceDate(1000.0 * i);
        list.push_back(journal);
    }
    return list;
}

TEST(JournalFitting, LimitAndOrderByFamilyAndHeight) {
    struct Case {
        const char* what;
        WidgetFamily family;
        double height;
        int notDone;
        int done;
        std::vector<std::int64_t> shown;
    };
    const Case cases[] = {
        {"small, more not done than fit", WidgetFamily::systemSmall, 170, 5, 2, {1, 2, 3}},
        {"medium, more not done than fit", WidgetFamily::systemMedium, 170, 5, 2, {1, 2, 3}},
        {"small, done fill up latest first", WidgetFamily::systemSmall, 170, 1, 4, {1, 104, 103}},
        {"small, exactly the limit not done", WidgetFamily::systemSmall, 170, 3, 4, {1, 2, 3}},
        {"small, only done", WidgetFamily::systemSmall, 170, 0, 2, {102, 101}},
        {"large, tall, 12 not done", WidgetFamily::systemLarge, 376, 12, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"large, exactly 320", WidgetFamily::systemLarge, 320.0, 12, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"large, just under 320", WidgetFamily::systemLarge, 319.9, 12, 0, {1, 2, 3, 4, 5, 6, 7, 8}},
        {"large, 300 high", WidgetFamily::systemLarge, 300, 12, 0, {1, 2, 3, 4, 5, 6, 7, 8}},
        {"large, mixed", WidgetFamily::systemLarge, 376, 6, 5, {1, 2, 3, 4, 5, 6, 105, 104, 103}},
        {"large height means nothing to a small widget", WidgetFamily::systemSmall, 400, 5, 0, {1, 2, 3}},
        {"extra large counts as any other", WidgetFamily::systemExtraLarge, 400, 5, 0, {1, 2, 3}},
        {"nothing", WidgetFamily::systemLarge, 376, 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THAT(ids(journalsFittingWidget(journals(c.notDone, c.done), c.family, c.height)),
                    ElementsAreArray(c.shown));
    }
}

TEST(JournalFitting, NotDoneFollowDueOrder) {
    auto last = dueJournal(1);
    last.index = 5;
    auto first = dueJournal(2);
    first.index = std::nullopt;
    EXPECT_THAT(ids(journalsFittingWidget({last, first}, WidgetFamily::systemSmall, 170)),
                ::testing::ElementsAre(2, 1));
}

TEST(JournalFitting, JournalsThatAreNotDueNeverShow) {
    auto notDue = dueJournal(1);
    notDue.isDue = false;
    auto dueUnknown = dueJournal(2);
    dueUnknown.isDue = std::nullopt;
    auto archived = doneJournal(3);
    archived.archived = true;
    EXPECT_TRUE(journalsFittingWidget({notDue, dueUnknown, archived}, WidgetFamily::systemLarge, 376).empty());
}

TEST(JournalFitting, DoneWithoutLastEntryComeLast) {
    auto withoutDate = doneJournal(1);
    auto early = doneJournal(2);
    early.lastEntryAt = foundation::Date::fromTimeIntervalSinceReferenceDate(10.0);
    auto late = doneJournal(3);
    late.lastEntryAt = foundation::Date::fromTimeIntervalSinceReferenceDate(20.0);
    EXPECT_THAT(ids(journalsFittingWidget({withoutDate, early, late}, WidgetFamily::systemSmall, 170)),
                ::testing::ElementsAre(3, 2, 1));
}

}  // namespace
}  // namespace pellicor
