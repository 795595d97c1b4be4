#include "pellicor/JournalDays.hpp"

#include "kestrova/model/JournalLists.hpp"
#include "tests/pellicor/JournalTestData.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>
#include <optional>
#include <string>

namespace pellicor {
namespace {

using testing::dueJournal;
using testing::ids;
using testing::localDay;

TEST(JournalDays, PostedTodayOnlyWithTodaysStreakDay) {
    struct Case {
        const char* what;
        std::optional<std::string> streakDate;
        bool postedToday;
    };
    const Case cases[] = {
        {"today", localDay(0), true},
        {"yesterday", localDay(-1), false},
        {"tomorrow", localDay(1), false},
        {"absent", std::nullopt, false},
        {"empty", std::string(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto journal = dueJournal(1);
        if (c.streakDate) {
            journal.streakDate = *c.streakDate;
        }
        EXPECT_EQ(isPostedToday(journal), c.postedToday);
        EXPECT_EQ(journalsNotDoneToday({journal}).size(), c.postedToday ? 0U : 1U);
    }
}

TEST(JournalDays, NextStreakDayIsAliveTodayAndLater) {
    struct Case {
        const char* what;
        std::optional<std::string> nextStreakDate;
        bool alive;
    };
    const Case cases[] = {
        {"today", localDay(0), true},
        {"tomorrow", localDay(1), true},
        {"next year", localDay(400), true},
        {"yesterday", localDay(-1), false},
        {"last month", localDay(-30), false},
        {"a full timestamp", localDay(0) + "T08:00:00Z", false},
        {"not a day", std::string("soon"), false},
        {"empty", std::string(), false},
        {"absent", std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto journal = dueJournal(1);
        if (c.nextStreakDate) {
            journal.nextStreakDate = *c.nextStreakDate;
        }
        EXPECT_EQ(isNextStreakDateToday(journal), c.alive);
    }
}

TEST(JournalDays, NotDoneTodayKeepsDueOrderAndLeavesOutTheRest) {
    auto archived = dueJournal(1);
    archived.archived = true;
    auto notDue = dueJournal(2);
    notDue.isDue = false;
    auto dueLast = dueJournal(3);
    dueLast.index = 9;
    auto done = testing::doneJournal(4);
    auto dueFirst = dueJournal(5);
    dueFirst.index = std::nullopt;
    auto postedYesterday = dueJournal(6);
    postedYesterday.streakDate = localDay(-1);

    EXPECT_THAT(ids(journalsNotDoneToday({archived, notDue, dueLast, done, dueFirst, postedYesterday})),
                ::testing::ElementsAre(5, 6, 3));
    EXPECT_TRUE(journalsNotDoneToday({archived, notDue}).empty());
    EXPECT_TRUE(journalsNotDoneToday({}).empty());
}

TEST(JournalDays, SampleJournalsAreTheNineOfTheGallery) {
    struct Row {
        std::int64_t id;
        const char* title;
        const char* iconEmoji;
        std::int64_t entriesToday;
        std::int64_t streak;
        bool doneToday;
    };
    const Row rows[] = {
        {1, "Meditation", "\xF0\x9F\xA7\x98\xE2\x80\x8D\xE2\x99\x82\xEF\xB8\x8F", 1, 263, true},
        {2, "Workout", "\xF0\x9F\x8F\x8B\xEF\xB8\x8F", 1, 186, true},
        {3, "Vitamin D", "\xE2\x98\x80\xEF\xB8\x8F", 1, 36, true},
        {4, "Probiotics", "\xF0\x9F\x92\x8A", 0, 43, false},
        {5, "Water", "\xF0\x9F\x8C\x8A", 0, 52, false},
        {6, "Journal", "\xF0\x9F\x93\x93", 0, 14, false},
        {7, "Music", "\xF0\x9F\x8E\xB9", 0, 31, false},
        {8, "Reading", "\xF0\x9F\x93\x96", 0, 78, false},
        {9, "Bahasa Indonesia", "\xF0\x9F\x87\xAE\xF0\x9F\x87\xA9", 0, 4, false},
    };
    const auto samples = sampleJournals();
    ASSERT_EQ(samples.size(), std::size(rows));
    const auto today = localDay(0);
    const auto yesterday = localDay(-1);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto& journal = samples[i];
        const auto& row = rows[i];
        SCOPED_TRACE(row.title);
        EXPECT_EQ(journal.id, row.id);
        EXPECT_EQ(journal.title.str(), row.title);
        ASSERT_TRUE(journal.iconEmoji);
        EXPECT_EQ(journal.iconEmoji->str(), row.iconEmoji);  // byte for byte, not merely equivalent
        EXPECT_EQ(journal.entriesToday, row.entriesToday);
        EXPECT_EQ(journal.streak, row.streak);
        ASSERT_TRUE(journal.streakDate);
        EXPECT_EQ(journal.streakDate->str(), row.doneToday ? today : yesterday);
        if (row.doneToday) {
            EXPECT_FALSE(journal.nextStreakDate);
        } else {
            ASSERT_TRUE(journal.nextStreakDate);
            EXPECT_EQ(journal.nextStreakDate->str(), today);
            EXPECT_TRUE(isNextStreakDateToday(journal));
        }
        EXPECT_EQ(isPostedToday(journal), row.doneToday);
        EXPECT_EQ(journal.isDaily, true);
        EXPECT_EQ(journal.isDue, true);
        EXPECT_FALSE(journal.isPrivate);
        EXPECT_TRUE(journal.description.empty());
        EXPECT_TRUE(journal.slug.empty());

        // Everything else stays absent, so the samples look like nothing the server sends.
        kestrova::Journal bare;
        bare.id = journal.id;
        bare.title = journal.title;
        bare.iconEmoji = journal.iconEmoji;
        bare.isDaily = journal.isDaily;
        bare.entriesToday = journal.entriesToday;
        bare.streak = journal.streak;
        bare.streakDate = journal.streakDate;
        bare.isDue = journal.isDue;
        bare.nextStreakDate = journal.nextStreakDate;
        EXPECT_TRUE(journal == bare);
        EXPECT_FALSE(journal.iconLink);
        EXPECT_FALSE(journal.iconImageData);
    }
}

TEST(JournalDays, SampleJournalsAreAllDueWithThreeDone) {
    const auto samples = sampleJournals();
    EXPECT_THAT(ids(kestrova::dueJournals(samples)), ::testing::ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9));
    EXPECT_THAT(ids(journalsNotDoneToday(samples)), ::testing::ElementsAre(4, 5, 6, 7, 8, 9));
    EXPECT_THAT(ids(kestrova::journalsDoneToday(samples)), ::testing::ElementsAre(1, 2, 3));
    const auto entries = std::accumulate(samples.begin(), samples.end(), std::int64_t{0},
                                         [](std::int64_t sum, const kestrova::Journal& journal) {
                                             return sum + journal.entriesToday.value_or(0);
                                         });
    EXPECT_EQ(entries, 3);
}

}  // namespace
}  // namespace pellicor
