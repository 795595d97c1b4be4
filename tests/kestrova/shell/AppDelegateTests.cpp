#include "kestrova/shell/AppDelegate.hpp"

#include "platform/kits/appkit/Application.hpp"
#include "platform/runtime/foundation/core/SystemVersionOverride.hpp"
#include "platform/runtime/foundation/core/URLComponents.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"
#include "platform/kits/intents/UserActivity.hpp"
#include "platform/kits/usernotifications/UserNotificationCenter.hpp"
#include "platform/kits/webkit/WebsiteDataStore.hpp"
#include "kestrova/intents/IntentSchema.hpp"
#include "kestrova/intents/OpenPublishViewIntent.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/state/AppState.hpp"
#include "kestrova/web/DownloadSaver.hpp"
#include "tests/kestrova/networking/APIServer.hpp"
#include "tests/support/CapturedOutput.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using apitest::api;
using Lines = std::vector<std::string>;
using testsupport::MainLoop;
using testsupport::RecordedRequest;
using testsupport::Reply;

headless::HeadlessBackend& headlessBackend() {
    return headless::HeadlessBackend::installed();
}

Journal journal(std::int64_t id, std::string title, std::optional<std::string> emoji, std::optional<bool> isDue,
                std::optional<bool> isDaily) {
    Journal made;
    made.id = id;
    made.title = foundation::Text(std::move(title));
    made.slug = foundation::Text("journal-" + std::to_string(id));
    if (emoji) {
        made.iconEmoji = foundation::Text(*emoji);
    }
    made.isDue = isDue;
    made.isDaily = isDaily;
    return made;
}

void cacheUserWith(std::vector<Journal> journals) {
    User user;
    user.id = 1;
    user.username = foundation::Text("ann");
    user.journals = std::move(journals);
    AppGroupDefaults::shared().saveUser(user);
}

// The three journals of the Dock menu: due, neither, daily but not due.
const std::vector<Journal> threeJournals = {
    journal(11, "Notes", "\xF0\x9F\x93\x93", true, false),
    journal(12, "Drafts", "\xE2\x9C\x8F\xEF\xB8\x8F", false, false),
    journal(13, "Runs", std::nullopt, false, true),
};

std::string createEntryLink(std::int64_t id) {
    return journal(id, "", std::nullopt, std::nullopt, std::nullopt).createEntryURL()->absoluteString();
}

// One delegate per test, installed as the application's; the API server notes every request among the
// desktop's effects, so that their order shows; nothing stored, no windows, permission granted.
class AppDelegateTest : public testing::Test {
protected:
    void SetUp() override {
        registerIntentSchema();
        api().handle("GET", "/auth", [](const RecordedRequest&) {
            headlessBackend().effects().record("server: GET /auth");
            return Reply{.status = 200, .body = R"({"id":1,"username":"ann","journals":[)"
                                                R"({"id":11,"title":"Notes","description":"","slug":"notes","private":false,"isDue":true}]})"};
        });
        api().handle("POST", "/auth/apn-device-token", [](const RecordedRequest& request) {
            headlessBackend().effects().record("server: POST /auth/apn-device-token " + request.body + " with " +
                                               request.header("Cookie").value_or("none"));
            return Reply{.status = deviceTokenStatus, .body = "{}"};
        });
        deviceTokenStatus = 200;
        for (const char* key : {"token", "user", "beta"}) {
            sharedDefaults().removeObject(key);
        }
        AppState::shared().user = std::nullopt;
        for (const auto& window : appkit::Application::shared().windows()) {
            window->close();
        }
        headlessBackend().websiteData().removeData(webkit::WebsiteDataStore::allWebsiteDataTypes(),
                                                  foundation::Date::fromTimeIntervalSince1970(0), [] {});
        headlessBackend().notificationService().answerAuthorization(true);
        headlessBackend().pushService().forgetRegistrations();
        appkit::Application::shared().setDelegate(&delegate);
        headlessBackend().effects().clear();
    }

    void TearDown() override {
        // Whatever the test started has finished before the delegate goes.
        settle();
        appkit::Application::shared().setDelegate(nullptr);
        appkit::Application::shared().setDockMenu(nullptr);
    }

    // Lets the main loop run the tasks started so far; what they wait for is on this machine.
    static void settle() { MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(100)); }
    static Lines effects() { return headlessBackend().effects().lines(); }
    static Lines effectsStartingWith(const std::string& prefix) {
        return headlessBackend().effects().linesStartingWith(prefix);
    }
    static void runUntilEffect(const std::string& line) {
        ASSERT_TRUE(MainLoop::iterateUntil([&] {
            const auto lines = effects();
            return std::find(lines.begin(), lines.end(), line) != lines.end();
        })) << line;
    }
    // Notes every rebuild of the Dock menu among the effects.
    void noteDockMenuChanges() {
        delegate.menu->addChangeListener([] { headlessBackend().effects().record("dock menu changed"); });
    }
    std::vector<std::pair<std::string, long>> dockItems() const {
        std::vector<std::pair<std::string, long>> items;
        for (const auto& item : delegate.menu->items()) {
            items.emplace_back(item->title(), item->tag());
        }
        return items;
    }

    // Read on the loopback server's thread: the socket orders it after the test's write, but the
    // sanitizer sees no socket.
    static inline std::atomic<int> deviceTokenStatus = 200;
    AppDelegate delegate;
};

TEST_F(AppDelegateTest, ALaunchRefreshesTheUserThenBuildsTheDockMenuThenAsksForPermissionAndRegisters) {
    sharedDefaults().set(std::string("t0k"), "token");
    noteDockMenuChanges();
    EXPECT_TRUE(delegate.menu->items().empty());
    EXPECT_EQ(delegate.statusBarController, nullptr);

    delegate.applicationDidFinishLaunching();
    // The launch also makes the application active.
    delegate.applicationWillBecomeActive();
    EXPECT_NE(delegate.statusBarController, nullptr) << "made before the launch task's first step";
    EXPECT_EQ(headlessBackend().dockService().menu(), delegate.menu);
    EXPECT_EQ(delegate.applicationDockMenu(), delegate.menu);
    EXPECT_EQ(effects(), Lines{}) << "the launch task runs once the main loop turns";

    runUntilEffect("remote notifications registered");
    settle();
    EXPECT_EQ(effectsStartingWith("server: GET /auth").size(), 2u) << "the launch task's and the activation's";
    Lines launchSteps;
    bool firstRefreshSeen = false;
    for (const auto& line : effects()) {
        // The activation's refresh may come before or after the launch task's: keep the first.
        if (line == "server: GET /auth") {
            if (firstRefreshSeen) {
                continue;
            }
            firstRefreshSeen = true;
        }
        launchSteps.push_back(line);
    }
    EXPECT_EQ(launchSteps, (Lines{"server: GET /auth", "dock menu changed", "dock menu changed",
                                  "notifications authorization requested: 71", "remote notifications registered"}));
    EXPECT_EQ(usernotifications::UserNotificationCenter::current().delegate(), &delegate);
    EXPECT_EQ(dockItems(), (std::vector<std::pair<std::string, long>>{{"Notes", 11}}));
}

TEST_F(AppDelegateTest, AnAnsweredOrFailedPermissionRequestStillCompletesTheLaunch) {
    struct Case {
        const char* name;
        bool granted;
        std::optional<std::string> error;
        Lines registrations;
        std::string printed;
    };
    const std::vector<Case> cases = {
        {"granted", true, std::nullopt, {"remote notifications registered"}, ""},
        {"denied", false, std::nullopt, {}, ""},
        {"failed", true, "the notification service is unavailable", {}, "the notification service is unavailable\n"},
    };
    for (const auto& c : cases) {
        AppDelegate launched;
        appkit::Application::shared().setDelegate(&launched);
        sharedDefaults().set(std::string("t0k"), "token");
        sharedDefaults().removeObject("user");
        headlessBackend().notificationService().answerAuthorization(c.granted, c.error);
        headlessBackend().effects().clear();
        const testsupport::CapturedOutput output;

        launched.applicationDidFinishLaunching();
        runUntilEffect("notifications authorization requested: 71");
        settle();

        EXPECT_EQ(effectsStartingWith("remote notifications registered"), c.registrations) << c.name;
        EXPECT_EQ(output.text(), c.printed) << c.name;
        EXPECT_NE(launched.statusBarController, nullptr) << c.name;
        EXPECT_TRUE(AppState::shared().user.get().has_value()) << c.name;
        EXPECT_EQ(launched.menu->items().size(), 1u) << c.name;
    }
    appkit::Application::shared().setDelegate(&delegate);
}

TEST_F(AppDelegateTest, TheDeviceTokenIsTwoLowerCaseHexDigitsPerByte) {
    std::vector<std::uint8_t> counting(32);
    for (std::size_t i = 0; i < counting.size(); ++i) {
        counting[i] = static_cast<std::uint8_t>(i * 8 + 7);
    }
    const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> cases = {
        {{0x0A}, "0a"},
        {{0xFF}, "ff"},
        {{0x00, 0x10, 0xAB}, "0010ab"},
        {{}, ""},
        {counting, "070f171f272f373f474f575f676f777f878f979fa7afb7bfc7cfd7dfe7eff7ff"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(AppDelegate::deviceTokenText(foundation::Data(bytes)), text);
    }
    EXPECT_EQ(AppDelegate::deviceTokenText(foundation::Data(counting)).size(), 64u);
}

TEST_F(AppDelegateTest, ADeviceTokenIsUploadedOnlyWithAStoredLoginToken) {
    appkit::Application::shared().registerForRemoteNotifications();
    const foundation::Data token(std::vector<std::uint8_t>{0x0A, 0xFF});

    headlessBackend().pushService().deliverToken(token);
    settle();
    EXPECT_EQ(effectsStartingWith("server:"), Lines{});
    const auto posted = [] {
        const auto requests = api().requests();
        return std::count_if(requests.begin(), requests.end(),
                             [](const RecordedRequest& r) { return r.path == "/auth/apn-device-token"; });
    };
    const auto before = posted();

    sharedDefaults().set(std::string("t0k"), "token");
    headlessBackend().pushService().deliverToken(token);
    runUntilEffect(R"(server: POST /auth/apn-device-token {"token":"0aff"} with token=t0k)");
    EXPECT_EQ(posted(), before + 1);
}

TEST_F(AppDelegateTest, AFailedUploadIsPrintedAndNothingElseChanges) {
    sharedDefaults().set(std::string("t0k"), "token");
    deviceTokenStatus = 500;
    const testsupport::CapturedOutput output;
    delegate.didRegisterForRemoteNotifications(foundation::Data(std::vector<std::uint8_t>{0x01}));
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !output.text().empty(); }));
    EXPECT_EQ(output.text(), "A server error with the code 500 occurred.\n");
    EXPECT_EQ(sharedDefaults().string("token"), "t0k");
}

TEST_F(AppDelegateTest, ANotificationInFrontShowsAsABannerInTheListWithSoundAndBadge) {
    std::vector<std::uint64_t> answers;
    delegate.willPresent({}, [&](usernotifications::PresentationOptions options) { answers.push_back(options.rawValue); });
    EXPECT_EQ(answers, std::vector<std::uint64_t>{27});
}

TEST_F(AppDelegateTest, AClickedNotificationOpensItsPageElseRevealsItsFile) {
    using usernotifications::UserInfo;
    const std::string page = webBaseURL().absoluteString() + "ann/notes";
    const std::string file = "file:///tmp/report.pdf";
    struct Case {
        const char* name;
        UserInfo userInfo;
        Lines effects;
        std::string printed;
    };
    const std::vector<Case> cases = {
        {"both", {{"url", page}, {"fileURL", file}}, {"workspace opened: kestrova:///open?url=" + page}, page + "\n"},
        {"a number as the page", {{"url", std::int64_t{5}}, {"fileURL", file}}, {"workspace revealed: " + file}, ""},
        {"no URL as the page", {{"url", std::string("a b")}, {"fileURL", file}}, {"workspace revealed: " + file}, ""},
        {"file only", {{"fileURL", file}}, {"workspace revealed: " + file}, ""},
        {"a flag as the file", {{"fileURL", true}}, {}, ""},
        {"nothing", {}, {}, ""},
    };
    for (const auto& c : cases) {
        headlessBackend().effects().clear();
        usernotifications::NotificationResponse response;
        response.notification.request.content.userInfo = c.userInfo;
        int completions = 0;
        const testsupport::CapturedOutput output;
        delegate.didReceive(response, [&] { ++completions; });
        EXPECT_EQ(effects(), c.effects) << c.name;
        EXPECT_EQ(output.text(), c.printed) << c.name;
        EXPECT_EQ(completions, 1) << c.name;
    }
}

TEST_F(AppDelegateTest, AFinishedDownloadsNotificationRevealsTheFileFromItsActionAsFromAClick) {
    auto& notifications = headlessBackend().notificationService();
    notifications.reset();
    usernotifications::UserNotificationCenter::current().setDelegate(&delegate);
    const auto file = foundation::URL::fileURL("/home/ann/Downloads/saved report.pdf");
    webkit::Download download(foundation::URL::fromString("https://kestrova.example/report.pdf"));
    DownloadSaver downloads;
    downloads.didFinish(download, file);
    ASSERT_EQ(notifications.posted().size(), 1U);
    for (const char* action : {DownloadSaver::showInFolderAction,
                               usernotifications::NotificationResponse::defaultActionIdentifier}) {
        headlessBackend().effects().clear();
        ASSERT_TRUE(notifications.click(notifications.posted().front().identifier, action));
        EXPECT_EQ(effects(), Lines{"workspace revealed: " + file.absoluteString()}) << action;
    }
    usernotifications::UserNotificationCenter::current().setDelegate(nullptr);
}

TEST_F(AppDelegateTest, BecomingActiveBringsBackAWindowOnlyWhenEveryKeyCapableWindowIsMiniaturized) {
    auto& windows = headlessBackend().windowService();
    struct Window {
        std::string title;
        bool canBecomeKey;
        bool miniaturized;
    };
    struct Case {
        const char* name;
        std::vector<Window> backToFront;
        Lines effects;
    };
    const std::vector<Case> cases = {
        {"one shown, one miniaturized", {{"shown", true, false}, {"hidden", true, true}}, {}},
        {"the only window miniaturized", {{"only", true, true}}, {"window deminiaturized: only", "window made key: only"}},
        {"a shown panel does not count",
         {{"main", true, true}, {"panel", false, false}},
         {"window deminiaturized: main", "window made key: main"}},
        {"the first of two miniaturized", {{"back", true, true}, {"front", true, true}},
         {"window deminiaturized: front", "window made key: front"}},
        {"no window", {}, {}},
        {"only a panel", {{"panel", false, false}}, {}},
    };
    for (const auto& c : cases) {
        for (const auto& window : appkit::Application::shared().windows()) {
            window->close();
        }
        for (const auto& w : c.backToFront) {
            const auto opened = windows.open(w.title, w.canBecomeKey);
            if (w.miniaturized) {
                windows.miniaturize(*opened);
            }
        }
        headlessBackend().effects().clear();
        delegate.applicationWillBecomeActive();
        EXPECT_EQ(effectsStartingWith("window"), c.effects) << c.name;
    }
}

TEST_F(AppDelegateTest, ClosingTheLastWindowEndsTheApplication) {
    EXPECT_TRUE(delegate.applicationShouldTerminateAfterLastWindowClosed());
}

TEST_F(AppDelegateTest, TheDockMenuListsTheDueAndDailyJournalsAndAChosenOneOpensItsPublishPage) {
    auto journals = threeJournals;
    journals.push_back(journal(14, "Absent flags", "x", std::nullopt, std::nullopt));
    journals.push_back(journal(15, "Empty emoji", "", true, std::nullopt));
    cacheUserWith(journals);
    delegate.applicationDidFinishLaunching();
    settle();
    EXPECT_EQ(dockItems(), (std::vector<std::pair<std::string, long>>{
                               {"\xF0\x9F\x93\x93 Notes", 11}, {"Runs", 13}, {" Empty emoji", 15}}));
    for (const auto& item : delegate.menu->items()) {
        EXPECT_EQ(item->keyEquivalent(), "");
    }

    headlessBackend().effects().clear();
    headlessBackend().dockService().menu()->itemWithTag(13)->performAction();
    EXPECT_EQ(effects(), Lines{"workspace opened: " + createEntryLink(13)});
}

TEST_F(AppDelegateTest, ADockItemWhoseJournalIsGoneOpensNothingAndAMenuWithoutAUserKeepsItsItems) {
    cacheUserWith(threeJournals);
    delegate.updateDockMenu();
    ASSERT_EQ(delegate.menu->items().size(), 2u);
    const auto item = delegate.menu->itemWithTag(11);

    // Deleted on the server; the refreshed cache no longer has it.
    cacheUserWith({threeJournals[1], threeJournals[2]});
    item->performAction();
    // Signed out: no cached user; a rebuild keeps the items.
    sharedDefaults().removeObject("user");
    delegate.updateDockMenu();
    EXPECT_EQ(delegate.menu->items().size(), 2u);
    delegate.menu->itemWithTag(13)->performAction();
    delegate.openJournalFromDock(nullptr);
    EXPECT_EQ(effects(), Lines{});
}

intents::UserActivity browsing(const std::string& page) {
    intents::UserActivity activity{std::string(intents::UserActivity::browsingWebActivityType)};
    activity.setWebpageURL(foundation::URL::fromString(page));
    return activity;
}

intents::UserActivity publishViewOf(std::optional<std::string> identifier) {
    auto intent = std::make_shared<OpenPublishViewIntent>();
    intent->setJournal(std::make_shared<IntentJournal>(std::move(identifier), "Notes", std::nullopt));
    intents::UserActivity activity("OpenPublishViewIntent");
    activity.setInteraction(std::make_shared<intents::Interaction>(intent));
    return activity;
}

TEST_F(AppDelegateTest, ABrowsingActivityOpensItsPageInTheAppOnTheChosenFrontEnd) {
    AppState::shared().isBeta = true;
    const std::string path = "ann/notes?tab=entries";
    struct Case {
        std::string page;
        std::string opened;
    };
    for (const auto& c : {Case{webBaseURL().absoluteString() + path, betaWebBaseURL().absoluteString() + path},
                          Case{"https://example.org/page", "https://example.org/page"}}) {
        headlessBackend().effects().clear();
        EXPECT_TRUE(delegate.continueUserActivity(browsing(c.page)));
        ASSERT_EQ(effects().size(), 1u) << c.page;
        const auto link = foundation::URLComponents::fromString(effects()[0].substr(std::string("workspace opened: ").size()));
        ASSERT_TRUE(link.has_value()) << effects()[0];
        EXPECT_EQ(link->queryItems(), (std::vector<foundation::URLQueryItem>{{"url", c.opened}})) << c.page;
    }
    sharedDefaults().removeObject("beta");
}

TEST_F(AppDelegateTest, AnOpenPublishViewIntentOpensThePublishPageOfItsJournal) {
    auto journals = threeJournals;
    journals.push_back(journal(42, "Answers", std::nullopt, false, false));
    cacheUserWith(journals);
    struct Case {
        std::optional<std::string> identifier;
        Lines effects;
    };
    const std::vector<Case> cases = {
        {"42", {"workspace opened: " + createEntryLink(42)}},
        {"+42", {"workspace opened: " + createEntryLink(42)}},
        {"x42", {}}, {"42 ", {}}, {" 42", {}}, {"", {}}, {"+-42", {}}, {"4.2", {}},
        {"7", {}},  // not one of the user's journals
        {std::nullopt, {}},
    };
    for (const auto& c : cases) {
        headlessBackend().effects().clear();
        EXPECT_TRUE(delegate.continueUserActivity(publishViewOf(c.identifier)));
        EXPECT_EQ(effects(), c.effects) << c.identifier.value_or("no identifier");
    }

    headlessBackend().effects().clear();
    intents::UserActivity withoutJournal("OpenPublishViewIntent");
    withoutJournal.setInteraction(std::make_shared<intents::Interaction>(std::make_shared<OpenPublishViewIntent>()));
    EXPECT_TRUE(delegate.continueUserActivity(withoutJournal));
    EXPECT_TRUE(delegate.continueUserActivity(intents::UserActivity("OpenPublishViewIntent")));
    {
        // Before release 12 an intent does not reach the application this way.
        const foundation::SystemVersionOverride older({11, 7, 0});
        EXPECT_TRUE(delegate.continueUserActivity(publishViewOf("42")));
    }
    sharedDefaults().removeObject("user");
    EXPECT_TRUE(delegate.continueUserActivity(publishViewOf("42")));
    EXPECT_EQ(effects(), Lines{});
}

TEST_F(AppDelegateTest, AnActivityCrossesProcessesWithItsPageAndIntentAndOlderArchivesStillRead) {
    const auto archived = intents::KeyedArchiver::archivedData(publishViewOf("42"));
    const auto activity = intents::KeyedUnarchiver::unarchivedObject<intents::UserActivity>(archived);
    ASSERT_NE(activity->interaction(), nullptr);
    const auto intent = std::dynamic_pointer_cast<OpenPublishViewIntent>(activity->interaction()->intent());
    ASSERT_NE(intent, nullptr);
    EXPECT_EQ(intent->journal()->identifier(), "42");
    EXPECT_FALSE(activity->webpageURL().has_value());

    const auto page = intents::KeyedUnarchiver::unarchivedObject<intents::UserActivity>(
        intents::KeyedArchiver::archivedData(browsing("https://example.org/a?b=c")));
    EXPECT_EQ(page->activityType(), intents::UserActivity::browsingWebActivityType);
    EXPECT_EQ(page->webpageURL()->absoluteString(), "https://example.org/a?b=c");
    EXPECT_EQ(page->interaction(), nullptr);

    const auto older = intents::KeyedUnarchiver::unarchivedObject<intents::UserActivity>(foundation::Data(std::string_view(
        R"({"$archiver":"KeyedArchive","$version":1,"$top":{"$class":"NSUserActivity","activityType":"open"}})")));
    EXPECT_EQ(older->activityType(), "open");
    EXPECT_FALSE(older->webpageURL().has_value());
    EXPECT_EQ(older->interaction(), nullptr);

    EXPECT_THROW(static_cast<void>(intents::KeyedUnarchiver::unarchivedObject<intents::UserActivity>(
                     foundation::Data(std::string_view(R"({"$archiver":"KeyedArchive","$version":1,"$top":)"
                                                       R"({"$class":"NSUserActivity","activityType":"a","webpageURL":"a b"}})")))),
                 intents::ArchiveError);
}

TEST_F(AppDelegateTest, DeactivatingRebuildsTheDockMenuAtOnceThenCopiesTheLastTokenCookie) {
    auto& data = headlessBackend().websiteData();
    sharedDefaults().set(std::string("old"), "token");
    cacheUserWith(threeJournals);
    noteDockMenuChanges();

    // Signed out: no cookie named "token" keeps the stored one.
    data.setCookie({.name = "session", .value = "s", .domain = std::string(webHost())},
                   foundation::Date::fromTimeIntervalSince1970(1));
    delegate.applicationDidResignActive();
    EXPECT_EQ(effects(), (Lines{"dock menu changed", "dock menu changed", "dock menu changed"}))
        << "the rebuild does not wait for the cookies";
    settle();
    EXPECT_EQ(sharedDefaults().string("token"), "old");

    data.setCookie({.name = "token", .value = "first", .domain = std::string(webHost())},
                   foundation::Date::fromTimeIntervalSince1970(2));
    data.setCookie({.name = "token", .value = "second", .domain = std::string(betaWebHost()), .path = "/app"},
                   foundation::Date::fromTimeIntervalSince1970(3));
    data.setCookie({.name = "Token", .value = "other", .domain = std::string(webHost())},
                   foundation::Date::fromTimeIntervalSince1970(4));
    delegate.applicationDidResignActive();
    EXPECT_EQ(sharedDefaults().string("token"), "old") << "the cookies arrive later";
    ASSERT_TRUE(MainLoop::iterateUntil([] { return sharedDefaults().string("token") == "second"; }));
}

}  // namespace
}  // namespace kestrova
