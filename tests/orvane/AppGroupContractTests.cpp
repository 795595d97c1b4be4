#include "kestrova/model/AppGroupDefaults.hpp"
#include "orvane/ExtensionStore.hpp"
#include "orvane/ReducedUser.hpp"
#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "tests/support/ScopedAppGroupDirectory.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {
namespace {

kestrova::Journal journal(std::int64_t id, std::string title, std::optional<bool> isDaily,
                          std::string_view iconEmoji = {}) {
    kestrova::Journal j;
    j.id = id;
    j.title = std::move(title);
    j.slug = "s" + std::to_string(id);
    j.isDaily = isDaily;
    if (!iconEmoji.empty()) {
        j.iconEmoji = std::string(iconEmoji);
    }
    return j;
}

// What the application caches on sign-in, read back by this extension from a
// suite of its own in a fresh app-group directory: the two sides share the
// bytes, not the record types.
class AppGroupContractTest : public ::testing::Test {
protected:
    testsupport::ScopedAppGroupDirectory directory_;
    foundation::UserDefaults suite_{"group.test.contract"};
    kestrova::AppGroupDefaults application_{suite_};
    ExtensionStore extension_{suite_};
};

TEST_F(AppGroupContractTest, TheTokenTheApplicationStoresIsTheOneTheExtensionSends) {
    EXPECT_EQ(extension_.token(), std::nullopt);
    application_.setToken("t0k");
    EXPECT_EQ(extension_.token(), "t0k");
    application_.removeToken();
    EXPECT_EQ(extension_.token(), std::nullopt);
}

TEST_F(AppGroupContractTest, TheCachedUserReadsAsTheExtensionsReducedUser) {
    struct Case {
        const char* what;
        std::function<void(kestrova::User&)> change;
        std::optional<std::vector<KestrovaJournal>> journals;
        // Where the extension's decoding fails, when it refuses the user and offers no journals.
        std::optional<std::string> refusedAt{};
    };
    const std::vector<Case> cases = {
        {"no journals", [](kestrova::User&) {}, std::nullopt},
        {"an empty list of journals", [](kestrova::User& u) { u.journals = std::vector<kestrova::Journal>{}; },
         std::vector<KestrovaJournal>{}},
        {"daily and other journals, with and without an emoji, and fields the extension does not read",
         [](kestrova::User& u) {
             auto workout = journal(7, "Workout", true, "🏃");
             workout.streak = 4;
             workout.lastEntryAt = foundation::Date::fromTimeIntervalSinceReferenceDate(60.0);
             u.journals = std::vector<kestrova::Journal>{workout, journal(3, "Music", false)};
         },
         std::vector<KestrovaJournal>{{.id = 7, .title = "Workout", .isDaily = true, .iconEmoji = "🏃"},
                                      {.id = 3, .title = "Music", .isDaily = false}}},
        // The application's journal may leave its flag out; the extension needs it in every journal.
        {"one journal without isDaily",
         [](kestrova::User& u) {
             u.journals = std::vector<kestrova::Journal>{journal(7, "Workout", true), journal(3, "Music", std::nullopt)};
         },
         std::nullopt, "journals[1].isDaily"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        kestrova::User user;
        user.id = 42;
        user.username = "ann";
        c.change(user);
        application_.saveUser(user);
        const auto stored = application_.cachedUserJSON();
        ASSERT_TRUE(stored.has_value());

        ::testing::internal::CaptureStdout();
        const auto journals = extension_.journals();
        const std::string printed = ::testing::internal::GetCapturedStdout();
        if (c.refusedAt) {
            try {
                (void)foundation::JSONDecoder().decode<ReducedUser>(*stored);
                ADD_FAILURE() << "the extension read the user";
            } catch (const foundation::DecodingError& error) {
                EXPECT_EQ(error.kind(), foundation::DecodingError::Kind::keyNotFound);
                EXPECT_EQ(error.codingPath().description(), *c.refusedAt);
                EXPECT_EQ(printed, std::string(error.what()) + "\n");
            }
            EXPECT_TRUE(journals.empty());
            continue;
        }
        EXPECT_EQ(foundation::JSONDecoder().decode<ReducedUser>(*stored),
                  (ReducedUser{.id = 42, .journals = c.journals}));
        EXPECT_EQ(journals, c.journals.value_or(std::vector<KestrovaJournal>{}));
        EXPECT_EQ(printed, "");
    }
}

}  // namespace
}  // namespace orvane
