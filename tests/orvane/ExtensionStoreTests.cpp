#include "orvane/ExtensionStore.hpp"

#include "orvane/StoreError.hpp"
#include "tests/orvane/ExtensionFixture.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/SuiteDamage.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvane {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;
using testing::ExtensionTest;

std::vector<std::int64_t> idsOf(const std::vector<KestrovaJournal>& journals) {
    std::vector<std::int64_t> ids;
    for (const auto& journal : journals) {
        ids.push_back(journal.id);
    }
    return ids;
}

class ExtensionStoreTest : public ExtensionTest {};

TEST_F(ExtensionStoreTest, SplitsTheStoredJournalsByTheirDailyFlag) {
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
        const ExtensionStore store;
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

TEST_F(ExtensionStoreTest, ReadsWhatIsStoredAtEachAccess) {
    const ExtensionStore store;
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

TEST_F(ExtensionStoreTest, GivesTheTokenUnlessItWouldEndTheCookieHeader) {
    struct Case {
        std::optional<std::string> stored;
        bool usable;
    };
    const std::vector<Case> cases = {
        {std::nullopt, true},
        {"t0k", true},
        {"t0k\r\nX-Forged: 1", false},
        {"t0k\n", false},
        {"t0k\r", false},
        {std::string("t0k\0x", 5), false},
    };
    const ExtensionStore store;
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.stored));
        kestrova::sharedDefaults().removeObject("token");
        if (c.stored) {
            signIn(*c.stored);
        }
        if (c.usable) {
            EXPECT_EQ(store.token(), c.stored);
        } else {
            EXPECT_THAT([&] { (void)store.token(); },
                        ThrowsMessage<StoreError>(AllOf(HasSubstr(kestrova::sharedDefaults().file().string()),
                                                        HasSubstr("holds a line break or NUL character"))));
        }
        // Refused, not repaired: the value stays for its owner to see.
        EXPECT_EQ(kestrova::sharedDefaults().string("token"), c.stored);
    }
}

TEST_F(ExtensionStoreTest, ADamagedSuiteFailsEveryReadWithTheReason) {
    const std::string name = "group.test.damaged";
    const auto file = foundation::UserDefaults::databaseFile(name);
    {
        foundation::UserDefaults suite(name);
        suite.set(std::string("t0k"), "token");
        suite.set(foundation::Data(testing::fourJournals), "user");
    }
    const std::string damaged = testsupport::damageSuite(file, testsupport::SuiteDamage::damagedPages);
    foundation::UserDefaults suite(name);
    const ExtensionStore store(suite);
    const auto reason = ThrowsMessage<StoreError>(
        AllOf(HasSubstr(file.string()), HasSubstr("database disk image is malformed")));
    EXPECT_THAT([&] { (void)store.token(); }, reason);
    EXPECT_THAT([&] { (void)store.journals(); }, reason);
    EXPECT_THAT([&] { (void)store.dailyJournals(); }, reason);
    EXPECT_THAT([&] { (void)store.otherJournals(); }, reason);
    EXPECT_TRUE(testsupport::ScratchDirectory::read(file) == damaged) << "the damaged file was changed";
}

}  // namespace
}  // namespace orvane
