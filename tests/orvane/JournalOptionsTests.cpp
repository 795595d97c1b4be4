#include "orvane/JournalOptions.hpp"

#include "tests/orvane/ExtensionFixture.hpp"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using testing::ExtensionTest;
using Shown = std::vector<std::pair<std::string, std::string>>;  // identifier, display string

Shown shown(const intents::ObjectSection& section) {
    Shown items;
    for (const auto& item : section.items()) {
        EXPECT_EQ(item->pronunciationHint(), std::nullopt);
        EXPECT_EQ(item->className(), "IntentJournal");
        items.emplace_back(item->identifier().value_or("?"), item->displayString());
    }
    return items;
}

class JournalOptionsTest : public ExtensionTest {};

TEST_F(JournalOptionsTest, OffersTodayInStoredOrderAndTheRestByTitle) {
    struct Case {
        std::optional<std::string_view> stored;
        Shown today, notToday;
    };
    const std::vector<Case> cases = {
        {testing::fourJournals, {{"7", "🏃 Workout"}, {"-4", "Reading"}}, {{"3", "Music"}, {"9", "art"}}},
        {std::nullopt, {}, {}},
        // Upper case before lower case; equal titles keep their stored order;
        // canonically equal titles count as equal.
        {R"({"id":1,"journals":[{"id":1,"title":"zebra","isDaily":false},{"id":2,"title":"Zoo","isDaily":false},)"
         R"({"id":3,"title":"Caf\u00e9","isDaily":false},{"id":4,"title":"Cafe\u0301","isDaily":false},)"
         R"({"id":5,"title":"Cafe","isDaily":false},{"id":6,"title":"Run","isDaily":true,"iconEmoji":""}]})",
         {{"6", " Run"}},
         {{"5", "Cafe"}, {"3", "Caf\u00e9"}, {"4", "Cafe\u0301"}, {"2", "Zoo"}, {"1", "zebra"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored.value_or("(nothing)")));
        replaceUser(c.stored);
        const auto options = journalOptions();
        ASSERT_EQ(options->sections().size(), 2u);
        EXPECT_EQ(options->sections()[0]->title(), "Today");
        EXPECT_EQ(options->sections()[1]->title(), "Not Today");
        EXPECT_EQ(shown(*options->sections()[0]), c.today);
        EXPECT_EQ(shown(*options->sections()[1]), c.notToday);
    }
}

TEST_F(JournalOptionsTest, DefaultsToTheFirstDailyJournalElseTheFirstJournal) {
    struct Case {
        std::optional<std::string_view> stored;
        std::optional<std::string> identifier;
    };
    const std::vector<Case> cases = {
        {testing::fourJournals, "7"},
        {R"({"id":1,"journals":[{"id":3,"title":"Music","isDaily":false},{"id":9,"title":"art","isDaily":false}]})",
         "3"},
        {R"({"id":1,"journals":[]})", std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored.value_or("(nothing)")));
        replaceUser(c.stored);
        const auto journal = defaultJournal();
        EXPECT_EQ(journal ? journal->identifier() : std::nullopt, c.identifier);
    }
}

TEST_F(JournalOptionsTest, ShowsAJournalByItsEmojiAndTitle) {
    EXPECT_EQ(intentJournal({.id = 7, .title = "Run", .isDaily = true, .iconEmoji = "🏃"})->displayString(), "🏃 Run");
    EXPECT_EQ(intentJournal({.id = 7, .title = "Run", .isDaily = true})->displayString(), "Run");
    EXPECT_EQ(intentJournal({.id = 7, .title = "Run", .isDaily = true})->identifier(), "7");
}

}  // namespace
}  // namespace orvane
