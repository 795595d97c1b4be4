#include "kestrova/model/JournalLists.hpp"

#include "tests/support/LocalDayText.hpp"
#include "tests/support/ScopedEnvironment.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

namespace kestrova {
namespace {

Journal journal(std::int64_t id) {
    Journal j;
    j.id = id;
    j.title = "Journal " + std::to_string(id);
    return j;
}

std::vector<std::int64_t> ids(const std::vector<Journal>& journals) {
    std::vector<std::int64_t> result;
    for (const auto& j : journals) {
        result.push_back(j.id);
    }
    return result;
}

using testsupport::localDayText;

TEST(JournalLists, EmptyListGivesEmptyLists) {
    EXPECT_TRUE(dueJournals({}).empty());
    EXPECT_TRUE(notTodayJournals({}).empty());
    EXPECT_TRUE(journalsDoneToday({}).empty());
}

TEST(JournalLists, MembershipFollowsTheFlags) {
    struct Case {
        const char* what;
        std::optional<bool> isDue;
        std::optional<bool> isDaily;
        std::optional<bool> archived;
        bool due;
        bool notToday;
    };
    const Case cases[] = {
        {"due, archived absent", true, std::nullopt, std::nullopt, true, false},
        {"due, archived false", true, false, false, true, false},
        {"due but archived", true, false, true, false, false},
        {"isDue absent", std::nullopt, false, false, false, false},
        {"daily, not due", false, true, std::nullopt, false, false},
        {"neither daily nor due", false, false, std::nullopt, false, true},
        {"neither, archived", false, false, true, false, false},
        {"isDaily absent, not due", false, std::nullopt, std::nullopt, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Journal j = journal(1);
        j.isDue = c.isDue;
        j.isDaily = c.isDaily;
        j.archived = c.archived;
        EXPECT_EQ(dueJournals({j}).size(), c.due ? 1u : 0u);
        EXPECT_EQ(notTodayJournals({j}).size(), c.notToday ? 1u : 0u);
    }
}

TEST(JournalLists, OrderBySignedIndexWithAbsentAsZeroAndStableTies) {
    const auto due = [](std::int64_t id, std::optional<std::int64_t> index) {
        Journal j = journal(id);
        j.isDue = true;
        j.index = index;
        return j;
    };
    EXPECT_EQ(ids(dueJournals({due(1, 2), due(2, std::nullopt), due(3, -1)})), (std::vector<std::int64_t>{3, 2, 1}));
    EXPECT_EQ(ids(dueJournals({due(1, std::nullopt), due(2, 0), due(3, std::nullopt)})),
              (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_EQ(ids(dueJournals({due(2, 0), due(1, std::nullopt)})), (std::vector<std::int64_t>{2, 1}));

    const auto notToday = [](std::int64_t id, std::optional<std::int64_t> index) {
        Journal j = journal(id);
        j.isDue = false;
        j.isDaily = false;
        j.notTodayIndex = index;
        return j;
    };
    EXPECT_EQ(ids(notTodayJournals({notToday(1, 5), notToday(2, std::nullopt), notToday(3, -4), notToday(4, 5)})),
              (std::vector<std::int64_t>{3, 2, 1, 4}));
}

TEST(JournalLists, ResultsAreCopiesAndTheInputIsUntouched) {
    Journal j = journal(1);
    j.isDue = true;
    const std::vector<Journal> input{j};
    auto due = dueJournals(input);
    due[0].streak = 9;
    EXPECT_FALSE(input[0].streak.has_value());
}

class JournalsDoneToday : public testing::Test {
protected:
    Journal due(std::int64_t id, std::optional<std::string> streakDate, std::optional<double> lastEntryAt) {
        Journal j = journal(id);
        j.isDue = true;
        if (streakDate) {
            j.streakDate = *streakDate;
        }
        if (lastEntryAt) {
            j.lastEntryAt = foundation::Date::fromTimeIntervalSinceReferenceDate(*lastEntryAt);
        }
        return j;
    }

    // A fixed zone whose local time is 00:30 right now: the local day has just
    // begun while UTC is still on the day before. (In the first half hour of a
    // UTC day the local time is earlier past midnight, as offsets end at 24 h.)
    void pinZoneAtHalfPastMidnight() {
        const long secondsIntoUTCDay = static_cast<long>(std::time(nullptr) % 86400);
        const long pastMidnight = std::min(30L * 60, secondsIntoUTCDay / 2);
        const long offset = 24 * 3600 - secondsIntoUTCDay + pastMidnight;  // local = UTC + offset
        char zone[32];
        // POSIX zones count west of UTC as positive, so the sign is inverted.
        std::snprintf(zone, sizeof zone, "<LOC>-%02ld:%02ld:%02ld", offset / 3600, offset / 60 % 60, offset % 60);
        environment_.set("TZ", zone);
    }

    testsupport::ScopedEnvironment environment_;
};

TEST_F(JournalsDoneToday, SelectsStreakDaysOfTodayAndOrdersByLastEntry) {
    environment_.set("TZ", "Europe/Berlin");
    const std::string today = localDayText(std::time(nullptr));
    const std::string yesterday = localDayText(std::time(nullptr) - 86400);
    const auto done = journalsDoneToday({
        due(1, today, 36000.0),        // 10:00
        due(2, yesterday, 1.0),        // streak of yesterday
        due(3, today, std::nullopt),   // no entry time: first
        due(4, std::nullopt, 2.0),     // no streak day: never done
        due(5, today, 28800.0),        // 08:00
        due(6, today, 28800.0),        // same instant as 5: keeps due order
    });
    EXPECT_EQ(ids(done), (std::vector<std::int64_t>{3, 5, 6, 1}));
}

TEST_F(JournalsDoneToday, OnlyDueJournalsCount) {
    environment_.set("TZ", "Europe/Berlin");
    Journal notDue = due(1, localDayText(std::time(nullptr)), std::nullopt);
    notDue.isDue = false;
    EXPECT_TRUE(journalsDoneToday({notDue}).empty());
}

TEST_F(JournalsDoneToday, TodayIsTheLocalDayAlreadyAtHalfPastMidnight) {
    pinZoneAtHalfPastMidnight();
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char utcDay[16];
    std::strftime(utcDay, sizeof utcDay, "%Y-%m-%d", &utc);
    const std::string localDay = localDayText(now);
    ASSERT_NE(localDay, utcDay) << "the pinned zone should be a day ahead of UTC";

    EXPECT_EQ(ids(journalsDoneToday({due(1, localDay, std::nullopt), due(2, std::string(utcDay), std::nullopt)})),
              (std::vector<std::int64_t>{1}));
}

}  // namespace
}  // namespace kestrova
