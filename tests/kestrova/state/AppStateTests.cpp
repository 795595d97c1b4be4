#include "kestrova/state/AppState.hpp"

#include "platform/kits/appkit/Application.hpp"
#include "platform/runtime/combine/AnyCancellable.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/foundation/defaults/AppGroup.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "platform/kits/webkit/WebsiteDataStore.hpp"
#include "platform/kits/widgetkit/ReloadRequests.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "tests/kestrova/networking/APIServer.hpp"
#include "tests/support/CapturedOutput.hpp"
#include "tests/support/SuiteDamage.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScopedFileSizeLimit.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kestrova {
namespace {

using apitest::api;
using apitest::requestsTo;
using testsupport::MainLoop;
using testsupport::RecordedRequest;
using testsupport::Reply;

constexpr const char* annJSON = R"({"id":42,"username":"ann","journals":[{"id":7,"title":"Morning pages",)"
                                R"("description":"","slug":"morning-pages","private":false,)"
                                R"("last_entry_at":"2023-04-05T06:07:08.123+02:00"}]})";

constexpr std::array<const char*, 7> sessionAndSettingsKeys = {
    "token", "user", "statusBarIcon", "statusBarIconMonochrome", "beta", "pageZoom", "soundFX"};

headless::HeadlessBackend& headlessBackend() {
    return headless::HeadlessBackend::installed();
}

User someone(const std::string& name) {
    User user;
    user.id = 1;
    user.username = name;
    return user;
}

// Every test starts signed out, with no settings stored and nothing recorded.
class AppStateTest : public testing::Test {
protected:
    void SetUp() override {
        api();
        for (const char* key : sessionAndSettingsKeys) {
            sharedDefaults().removeObject(key);
        }
        AppState::shared().user = std::nullopt;
        headlessBackend().effects().clear();
    }

    static void fetch() {
        MainLoop::runOnMainActor([] { return AppState::shared().fetchAuthData(); });
    }
    static void logout() {
        MainLoop::runOnMainActor([] { return AppState::shared().logout(); });
    }
};

TEST_F(AppStateTest, OnAFreshSuiteEverySettingReadsItsDefaultAndNothingIsWritten) {
    const AppState state;
    EXPECT_FALSE(state.statusBarIcon.get());
    EXPECT_TRUE(state.statusBarIconMonochrome.get());
    EXPECT_FALSE(state.isBeta.get());
    EXPECT_EQ(state.pageZoom.get(), 1.0);
    EXPECT_TRUE(state.soundFX.get());
    EXPECT_EQ(state.user.get(), std::nullopt);
    const auto stored = sharedDefaults().dictionaryRepresentation();
    for (const char* key : sessionAndSettingsKeys) {
        EXPECT_FALSE(stored.contains(key)) << key;
    }
}

TEST_F(AppStateTest, EveryFieldTellsObserversBeforeItChanges) {
    AppState state;
    struct Case {
        const char* field;
        std::function<std::string()> read;
        std::function<void()> write;
    };
    const std::vector<Case> cases = {
        {"statusBarIcon", [&] { return std::to_string(state.statusBarIcon.get()); },
         [&] { state.statusBarIcon = true; }},
        {"statusBarIconMonochrome", [&] { return std::to_string(state.statusBarIconMonochrome.get()); },
         [&] { state.statusBarIconMonochrome = false; }},
        {"isBeta", [&] { return std::to_string(state.isBeta.get()); }, [&] { state.isBeta = true; }},
        {"pageZoom", [&] { return std::to_string(state.pageZoom.get()); }, [&] { state.pageZoom = 1.25; }},
        {"soundFX", [&] { return std::to_string(state.soundFX.get()); }, [&] { state.soundFX = false; }},
        {"user", [&] { return std::string(state.user.get() ? "someone" : "nobody"); },
         [&] { state.user = someone("ann"); }},
    };
    for (const auto& c : cases) {
        const std::string before = c.read();
        std::vector<std::string> seenWhenTold;
        const combine::AnyCancellable observation =
            state.objectWillChange().sink([&] { seenWhenTold.push_back(c.read()); });
        c.write();
        EXPECT_EQ(seenWhenTold, std::vector<std::string>{before}) << c.field;
        EXPECT_NE(c.read(), before) << c.field;
    }
}

TEST_F(AppStateTest, StatusBarIconReachesItsSubscribersBeforeItIsStored) {
    AppState state;
    std::vector<std::pair<bool, bool>> deliveries;  // the value, and what the suite held then
    const combine::AnyCancellable subscription = state.statusBarIcon.publisher().sink(
        [&](bool value) { deliveries.emplace_back(value, sharedDefaults().boolean("statusBarIcon")); });
    state.statusBarIcon = true;
    EXPECT_EQ(deliveries, (std::vector<std::pair<bool, bool>>{{false, false}, {true, false}}));
    EXPECT_TRUE(sharedDefaults().boolean("statusBarIcon"));
    EXPECT_TRUE(AppState().statusBarIcon.get());
}

TEST_F(AppStateTest, WithoutATokenNoRequestIsMadeAndTheUserStays) {
    AppState::shared().user = someone("ann");
    const auto before = requestsTo("/auth");
    const testsupport::CapturedOutput output;
    fetch();
    EXPECT_EQ(requestsTo("/auth"), before);
    EXPECT_EQ(AppState::shared().user.get(), someone("ann"));
    EXPECT_EQ(output.text(), "");
}

TEST_F(AppStateTest, AFetchedUserIsSetAndCachedForTheExtensions) {
    sharedDefaults().set(std::string("t0k"), "token");
    api().reply("GET", "/auth", {.status = 200, .body = annJSON});
    const testsupport::CapturedOutput output;
    fetch();
    const RecordedRequest request = apitest::lastRequest();
    EXPECT_EQ(request.target, "/auth");
    EXPECT_EQ(request.header("Cookie"), "token=t0k");
    ASSERT_TRUE(AppState::shared().user.get().has_value());
    EXPECT_EQ(AppState::shared().user.get()->username, foundation::Text("ann"));
    EXPECT_EQ(AppGroupDefaults::shared().loadUser(), AppState::shared().user.get());
    EXPECT_EQ(output.text(), "");
}

TEST_F(AppStateTest, AFailedFetchIsPrintedAndChangesNothing) {
    const std::vector<std::pair<const char*, Reply>> failures = {
        {"not signed in", {.status = 401, .body = R"({"message":"Who are you?"})"}},
        {"a server error", {.status = 500}},
        {"a body that is no user", {.status = 200, .body = R"({"id":"42"})"}},
        {"no JSON at all", {.status = 200, .body = "<html>"}},
    };
    sharedDefaults().set(std::string("t0k"), "token");
    AppGroupDefaults::shared().saveUser(someone("cached"));
    for (const auto& [what, reply] : failures) {
        AppState::shared().user = someone("before");
        api().reply("GET", "/auth", reply);
        const testsupport::CapturedOutput output;
        fetch();
        EXPECT_EQ(output.text(), "Error when fetching auth data.\n") << what;
        EXPECT_EQ(AppState::shared().user.get(), someone("before")) << what;
        EXPECT_EQ(AppGroupDefaults::shared().loadUser(), someone("cached")) << what;
    }
}

// A full disk while the user is cached: the fetched user is kept in memory, the cache keeps what it
// had. In a process of its own, whose suite is small enough for the limit to bite.
TEST_F(AppStateTest, AUserThatCannotBeCachedIsKeptAndTheCacheStays) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            api();
            sharedDefaults().set(std::string("t0k"), "token");
            AppGroupDefaults::shared().saveUser(someone("cached"));
            const std::string longName(256 * 1024, 'n');
            api().reply("GET", "/auth", {.status = 200, .body = R"({"id":5,"username":")" + longName + R"("})"});
            std::uintmax_t largest = 0;
            for (const auto& entry : std::filesystem::directory_iterator(sharedDefaults().file().parent_path())) {
                largest = std::max(largest, entry.file_size());
            }
            std::string printed;
            {
                const testsupport::CapturedOutput output;
                const testsupport::ScopedFileSizeLimit fullDisk(largest + 4096);
                fetch();
                printed = output.text();
            }
            const bool kept = AppState::shared().user.get() && AppState::shared().user.get()->id == 5;
            const bool cacheStayed = AppGroupDefaults::shared().loadUser() == someone("cached");
            std::fprintf(stderr, "printed=[%s] kept=%d cacheStayed=%d\n", printed.c_str(), kept, cacheStayed);
            std::_Exit(printed == "Could not store user.\n" && kept && cacheStayed ? 0 : 1);
        },
        testing::ExitedWithCode(0), "printed=\\[Could not store user.\n\\] kept=1 cacheStayed=1");
}

// A suite that cannot be read gives every setting its default, "statusBarIcon" read at construction
// too, and says so on standard error instead of ending the program. In a process of its own whose
// shared suite is damaged before anything opens it.
TEST(AppStateOfAnUnreadableSuiteTest, EverySettingReadsAsItsDefaultAndSaysSo) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const auto identifier = foundation::AppGroup::identifier();
            {
                foundation::UserDefaults suite(identifier);
                suite.set(true, "statusBarIcon");
                suite.set(false, "statusBarIconMonochrome");
                suite.set(true, "beta");
                suite.set(2.0, "pageZoom");
                suite.set(false, "soundFX");
            }
            testsupport::damageSuite(foundation::UserDefaults::databaseFile(identifier), testsupport::SuiteDamage::damagedPages);
            const AppState state;
            const bool defaults = !state.statusBarIcon.get() && state.statusBarIconMonochrome.get() &&
                                  !state.isBeta.get() && state.pageZoom.get() == 1.0 && state.soundFX.get();
            std::fprintf(stderr, "defaults=%d\n", defaults);
            std::_Exit(defaults ? 0 : 1);
        },
        testing::ExitedWithCode(0),
        "\"statusBarIcon\".*malformed.*\n.*\"statusBarIconMonochrome\".*\n.*\"beta\".*\n.*\"pageZoom\".*\n.*"
        "\"soundFX\".*\ndefaults=1\n");
}

// The steps of a sign-out, as the server and the headless desktop saw them.
class LogoutTest : public AppStateTest {
protected:
    void SetUp() override {
        AppStateTest::SetUp();
        for (const auto& window : headlessBackend().windowService().windows()) {
            window->close();
        }
        headlessBackend().effects().clear();
        api().handle("GET", "/logout", [](const RecordedRequest& request) {
            headlessBackend().effects().record("server: GET /logout with " + request.header("Cookie").value_or("none"));
            return Reply{.status = logoutStatus};
        });
        logoutStatus = 200;
    }

    // Read on the loopback server's thread: the socket orders it after the test's write, but the
    // sanitizer sees no socket.
    static inline std::atomic<int> logoutStatus = 200;

    static std::vector<std::string> effects() { return headlessBackend().effects().lines(); }
};

TEST_F(LogoutTest, SigningOutRunsItsStepsInOrder) {
    sharedDefaults().set(std::string("t0k"), "token");
    AppGroupDefaults::shared().saveUser(someone("ann"));
    AppState::shared().user = someone("ann");
    headlessBackend().windowService().open("back");
    headlessBackend().windowService().open("front");
    const auto reloadsBefore = widgetkit::ReloadRequests::count();

    headlessBackend().websiteData().holdRemovals();
    const auto task = concurrency::spawn(concurrency::MainActor::shared(), [] { return AppState::shared().logout(); });
    ASSERT_TRUE(MainLoop::iterateUntil([] { return !effects().empty(); }));
    // While the website data goes, the session is forgotten here and nothing further has happened.
    EXPECT_EQ(sharedDefaults().object("token"), std::nullopt);
    EXPECT_EQ(sharedDefaults().object("user"), std::nullopt);
    EXPECT_EQ(AppState::shared().user.get(), std::nullopt);
    EXPECT_EQ(effects().size(), 1u);
    headlessBackend().websiteData().releaseRemovals();
    MainLoop::runUntilFinished(task);

    std::string allTypes;
    for (const auto& type : webkit::WebsiteDataStore::allWebsiteDataTypes()) {
        allTypes += " " + type;
    }
    EXPECT_EQ(effects(), (std::vector<std::string>{
                             "website data removed:" + allTypes + " since 0",
                             "server: GET /logout with token=t0k",
                             "widget timelines reloaded",
                             "window closed: front",
                             "window closed: back",
                             "workspace opened: kestrova:///open?url=https://kestrova.example/login",
                         }));
    EXPECT_EQ(widgetkit::ReloadRequests::count(), reloadsBefore + 1);
    EXPECT_TRUE(headlessBackend().windowService().windows().empty());
}

TEST_F(LogoutTest, SigningOutWhileSignedOutAsksNoServerButDoesTheRest) {
    headlessBackend().windowService().open("only");
    const auto before = requestsTo("/logout");
    logout();
    EXPECT_EQ(requestsTo("/logout"), before);
    const auto lines = effects();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(lines[0].starts_with("website data removed:"));
    EXPECT_EQ(lines[1], "widget timelines reloaded");
    EXPECT_EQ(lines[2], "window closed: only");
    EXPECT_TRUE(lines[3].starts_with("workspace opened: kestrova:///open?url="));
}

TEST_F(LogoutTest, AFailedServerSignOutIsPrintedAndTheRestGoesOn) {
    for (const int status : {500, 401, 404}) {
        sharedDefaults().set(std::string("t0k"), "token");
        headlessBackend().effects().clear();
        logoutStatus = status;
        const testsupport::CapturedOutput output;
        logout();
        EXPECT_EQ(output.text(), "Error when trying to log out\n") << status;
        const auto lines = effects();
        ASSERT_EQ(lines.size(), 4u) << status;
        EXPECT_EQ(lines[2], "widget timelines reloaded") << status;
        EXPECT_TRUE(lines[3].starts_with("workspace opened:")) << status;
    }
}

TEST_F(LogoutTest, TheLoginPageOpensOnTheHostTheBetaSettingChooses) {
    for (const bool beta : {false, true}) {
        AppState::shared().isBeta = beta;
        headlessBackend().effects().clear();
        logout();
        EXPECT_EQ(headlessBackend().effects().linesStartingWith("workspace opened:"),
                  std::vector<std::string>{std::string("workspace opened: kestrova:///open?url=https://") +
                                           (beta ? "beta." : "") + "kestrova.example/login"})
            << beta;
    }
}

TEST_F(LogoutTest, SettingsSurviveASignOutAndARelaunch) {
    AppState& state = AppState::shared();
    state.statusBarIcon = true;
    state.statusBarIconMonochrome = false;
    state.isBeta = true;
    state.pageZoom = 1.5;
    state.soundFX = false;
    sharedDefaults().set(std::string("t0k"), "token");
    logout();
    const AppState relaunched;
    EXPECT_TRUE(relaunched.statusBarIcon.get());
    EXPECT_FALSE(relaunched.statusBarIconMonochrome.get());
    EXPECT_TRUE(relaunched.isBeta.get());
    EXPECT_EQ(relaunched.pageZoom.get(), 1.5);
    EXPECT_FALSE(relaunched.soundFX.get());
    EXPECT_EQ(sharedDefaults().object("token"), std::nullopt);
}

// The settings, the session and the application's windows belong to the main thread: a call from
// another one is stopped where it is made, before it can race with the main loop.
TEST(AppStateDeathTest, MainThreadStateStopsACallerOnAnotherThread) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"a setting", [] { AppState::shared().isBeta = true; }},
        {"the signed-in user", [] { AppState::shared().user = someone("ann"); }},
        {"the windows", [] { static_cast<void>(appkit::Application::shared().windows()); }},
    };
    for (const auto& [name, call] : calls) {
        EXPECT_DEATH(std::thread(call).join(), "main-actor state touched off the main thread") << name;
    }
}

}  // namespace
}  // namespace kestrova
