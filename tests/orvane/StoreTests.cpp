#include "orvane/Store.hpp"

#include "tests/orvane/ExtensionFixture.hpp"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using testing::ExtensionTest;

std::vector<std::int64_t> idsOf(const std::vector<KestrovaJournal>& journals) {
    std::vector<std::int64_t> ids;
    for (const auto& journal : journals) {
        ids.push_back(journal.id);
    }
    return ids;
}

class StoreTest : public ExtensionTest {};

TEST_F(StoreTest, SplitsTheStoredJournalsByTheirDailyFlag) {
    struct Case {
        std::optional<std::string_view> stored;
        std::vector<std::int64_t> all, daily, other;
        bool printsAnError = false;
    };
    const std::vector<Case> cases = {
        {std::nullopt, {}, {}, {}},
        {R"({"id":1})", {}, {}, {}},
        {R"({"id":1,"journals":null})", {}, {}, {}},
        {R"({"id":1,"journals":[{"id":1,"title":"a","isDaily":true},{"id":2,"title":"b","isDaily":false},)"
         R"({"id":3,"title":"c","isDaily":true}]})",
         {1, 2, 3}, {1, 3}, {2}},
        {testing::fourJournals, {3, 7, 9, -4}, {7, -4}, {3, 9}},
        // One journal without its flag spoils the whole user.
        {R"({"id":1,"journals":[{"id":1,"title":"a","isDaily":true},{"id":2,"title":"b","isDaily":null}]})",
         {}, {}, {}, true},
        {R"({"id":1,"journals":[{"id":1,"title":"a"}]})", {}, {}, {}, true},
        {R"({"journals":[]})", {}, {}, {}, true},
        {"not json", {}, {}, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored.value_or("(nothing)")));
        replaceUser(c.stored);
        const Store store;
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(idsOf(store.journals()), c.all);
        const std::string printed = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), c.printsAnError ? 1 : 0) << printed;
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(idsOf(store.dailyJournals()), c.daily);
        EXPECT_EQ(idsOf(store.otherJournals()), c.other);
        (void)::testing::internal::GetCapturedStdout();
    }
}

TEST_F(StoreTest, ReadsWhatIsStoredAtEachAccess) {
    const Store store;
    storeUser("not json");
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(store.journals().empty());
    EXPECT_FALSE(::testing::internal::GetCapturedStdout().empty());
    storeUser(testing::fourJournals);
    const auto journals = store.journals();
    ASSERT_EQ(journals.size(), 4u);
    EXPECT_EQ(journals[1], (KestrovaJournal{.id = 7, .title = "Workout", .isDaily = true, .iconEmoji = "🏃"}));
    EXPECT_EQ(journals[2].iconEmoji, std::nullopt);
    // Stored bytes that are no user are left as they were.
    storeUser("not json");
    ::testing::internal::CaptureStdout();
    (void)store.journals();
    (void)::testing::internal::GetCapturedStdout();
    EXPECT_EQ(kestrova::sharedDefaults().data("user"), foundation::Data("not json"));
}

}  // namespace
}  // namespace orvane
