#include "kestrova/web/JSMethod.hpp"

#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "platform/kits/webkit/WebsiteDataStore.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "kestrova/state/AppState.hpp"
#include "kestrova/web/ScriptMessageBridge.hpp"
#include "tests/kestrova/networking/APIServer.hpp"
#include "tests/support/CapturedOutput.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using apitest::api;
using testsupport::MainLoop;
using testsupport::RecordedRequest;
using testsupport::Reply;

constexpr const char* annJSON = R"({"id":42,"username":"ann"})";

headless::HeadlessBackend& headlessBackend() {
    return headless::HeadlessBackend::installed();
}

std::size_t countOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

// The server notes every "/auth" request among the desktop's effects, so that their order shows.
class ScriptMessageBridgeTest : public testing::Test {
protected:
    void SetUp() override {
        api().handle("GET", "/auth", [](const RecordedRequest& request) {
            headlessBackend().effects().record("server: GET /auth with " + request.header("Cookie").value_or("none"));
            return Reply{.status = 200, .body = annJSON};
        });
        for (const char* key : {"token", "user", "soundFX"}) {
            sharedDefaults().removeObject(key);
        }
        AppState::shared().user = std::nullopt;
        headlessBackend().websiteData().removeData(webkit::WebsiteDataStore::allWebsiteDataTypes(),
                                                  foundation::Date::fromTimeIntervalSince1970(0), [] {});
        headlessBackend().effects().clear();
    }

    static std::vector<std::string> effects() { return headlessBackend().effects().lines(); }
    static std::size_t authRequests() { return headlessBackend().effects().linesStartingWith("server:").size(); }

    // Lets the tasks that the message started run until `done`.
    static void runUntil(const std::function<bool()>& done) { ASSERT_TRUE(MainLoop::iterateUntil(done)); }
};

TEST_F(ScriptMessageBridgeTest, APublishedEntryPlaysItsSoundOnlyWithSoundEffectsOnAndAlwaysReloadsAndRefreshes) {
    sharedDefaults().set(std::string("t0k"), "token");
    for (const bool soundOn : {true, false}) {
        AppState::shared().soundFX = soundOn;
        headlessBackend().effects().clear();
        AppState::shared().user = std::nullopt;
        const auto before = headlessBackend().audioOutput().counts("publish.mp3").playRequests;

        JSMethod(JSMethod::onPublishedEntry).handle();
        // The refresh runs afterwards, in a task of its own.
        EXPECT_EQ(authRequests(), 0u);
        runUntil([] { return AppState::shared().user.get().has_value(); });

        EXPECT_EQ(headlessBackend().audioOutput().counts("publish.mp3").playRequests - before, soundOn ? 1u : 0u);
        const auto lines = effects();
        EXPECT_EQ(countOf(lines, "widget timelines reloaded"), 1u) << soundOn;
        EXPECT_EQ(countOf(lines, "server: GET /auth with token=t0k"), 1u) << soundOn;
        EXPECT_EQ(AppGroupDefaults::shared().loadUser(), AppState::shared().user.get());
    }
}

TEST_F(ScriptMessageBridgeTest, RefreshDataOnlyRefreshesTheUser) {
    sharedDefaults().set(std::string("t0k"), "token");
    JSMethod(JSMethod::onRefreshData).handle();
    runUntil([] { return AppState::shared().user.get().has_value(); });
    EXPECT_EQ(effects(), std::vector<std::string>{"server: GET /auth with token=t0k"});
}

TEST_F(ScriptMessageBridgeTest, EachSoundMessagePlaysItsOwnSoundAndNothingElse) {
    const std::vector<std::string> files = {"publish.mp3", "message_sent.mp3", "message_received.mp3",
                                            "water1.mp3", "water2.mp3"};
    const auto requests = [&] {
        std::vector<std::size_t> counts;
        for (const auto& file : files) {
            counts.push_back(headlessBackend().audioOutput().counts(file).playRequests);
        }
        return counts;
    };
    const std::vector<std::pair<JSMethod, std::string>> cases = {
        {JSMethod::onPlayPublishSound, "publish.mp3"},
        {JSMethod::onPlayMessageSentSound, "message_sent.mp3"},
        {JSMethod::onPlayMessageReceivedSound, "message_received.mp3"},
    };
    for (const auto& [method, file] : cases) {
        auto expected = requests();
        const auto index = std::find(files.begin(), files.end(), file) - files.begin();
        ++expected[static_cast<std::size_t>(index)];
        method.handle();
        EXPECT_EQ(requests(), expected) << method.rawValue();
    }
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(50));
    EXPECT_EQ(headlessBackend().effects().linesStartingWith("widget"), std::vector<std::string>{});
    EXPECT_EQ(authRequests(), 0u);
}

TEST_F(ScriptMessageBridgeTest, TheSoundSettingIsReadAtEachMessage) {
    const auto played = [] { return headlessBackend().audioOutput().counts("message_sent.mp3").playRequests; };
    const auto start = played();
    JSMethod(JSMethod::onPlayMessageSentSound).handle();
    // Switched off through the suite itself, as another window's settings would.
    sharedDefaults().set(false, "soundFX");
    JSMethod(JSMethod::onPlayMessageSentSound).handle();
    sharedDefaults().set(true, "soundFX");
    JSMethod(JSMethod::onPlayMessageSentSound).handle();
    EXPECT_EQ(played() - start, 2u);
}

// In a process of its own, so that no earlier test has made the shared sounds.
TEST_F(ScriptMessageBridgeTest, WithSoundEffectsOffNoSoundFileIsEverOpened) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            auto& audio = headlessBackend().audioOutput();
            AppState::shared().soundFX = false;
            for (const JSMethod method :
                 {JSMethod::onPublishedEntry, JSMethod::onPlayPublishSound, JSMethod::onPlayWaterPublishSound,
                  JSMethod::onPlayMessageSentSound, JSMethod::onPlayMessageReceivedSound}) {
                method.handle();
            }
            MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(100));
            const auto openedWhileOff = audio.totalOpens();

            // The first water message makes both drops, and nothing else.
            AppState::shared().soundFX = true;
            JSMethod(JSMethod::onPlayWaterPublishSound).handle();
            const bool bothDrops = audio.counts("water1.mp3").opens == 1 && audio.counts("water2.mp3").opens == 1;
            std::fprintf(stderr, "opened while off: %zu, after one water message: %zu, both drops: %d\n",
                         openedWhileOff, audio.totalOpens(), bothDrops);
            std::_Exit(openedWhileOff == 0 && audio.totalOpens() == 2 && bothDrops ? 0 : 1);
        },
        testing::ExitedWithCode(0), "opened while off: 0, after one water message: 2, both drops: 1");
}

TEST_F(ScriptMessageBridgeTest, WaterSoundsComeOutInRoughlyEqualNumbers) {
    auto& audio = headlessBackend().audioOutput();
    const auto water1 = audio.counts("water1.mp3").playRequests;
    const auto water2 = audio.counts("water2.mp3").playRequests;
    constexpr std::size_t messages = 2000;
    for (std::size_t i = 0; i < messages; ++i) {
        JSMethod(JSMethod::onPlayWaterPublishSound).handle();
    }
    const auto first = audio.counts("water1.mp3").playRequests - water1;
    const auto second = audio.counts("water2.mp3").playRequests - water2;
    EXPECT_EQ(first + second, messages);
    // A fair pick gives 1000 each with a spread of about 22; 150 off is beyond any fair run.
    EXPECT_GT(first, 850u);
    EXPECT_GT(second, 850u);
}

TEST_F(ScriptMessageBridgeTest, LoginStoresTheLastCookieNamedTokenThenReloadsAndRefreshes) {
    struct Case {
        const char* what;
        std::vector<foundation::HTTPCookie> cookies;
        std::optional<std::string> storedBefore;
        std::optional<std::string> storedAfter;
    };
    const std::vector<Case> cases = {
        {"one token cookie", {{"token", "abc", "kestrova.example"}}, "old", "abc"},
        {"two from different domains: the last one returned stays",
         {{"token", "first", "kestrova.example"}, {"session", "s", "kestrova.example"},
          {"token", "second", "beta.kestrova.example", "/app"}},
         std::nullopt,
         "second"},
        {"none named exactly token", {{"Token", "x", "a"}, {"tokens", "y", "a"}, {"session", "z", "a"}}, "old", "old"},
        {"no cookies and no token", {}, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SetUp();
        for (const auto& cookie : c.cookies) {
            headlessBackend().websiteData().setCookie(cookie, foundation::Date::now());
        }
        if (c.storedBefore) {
            sharedDefaults().set(*c.storedBefore, "token");
        }

        JSMethod(JSMethod::onLogin).handle();
        // The cookies come later, on the main thread.
        EXPECT_EQ(sharedDefaults().string("token"), c.storedBefore) << c.what;
        runUntil([] { return !headlessBackend().effects().linesStartingWith("widget").empty(); });
        EXPECT_EQ(sharedDefaults().string("token"), c.storedAfter) << c.what;

        if (c.storedAfter) {
            runUntil([] { return AppState::shared().user.get().has_value(); });
            // The widgets are asked before the refresh reaches the server.
            EXPECT_EQ(effects(), (std::vector<std::string>{"widget timelines reloaded",
                                                           "server: GET /auth with token=" + *c.storedAfter}))
                << c.what;
        } else {
            MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(50));
            EXPECT_EQ(effects(), std::vector<std::string>{"widget timelines reloaded"}) << c.what;
        }
    }
}

TEST_F(ScriptMessageBridgeTest, LogoutStartsTheSignOutAndReturnsAtOnce) {
    sharedDefaults().set(std::string("t0k"), "token");
    api().reply("GET", "/logout", {.status = 200});
    JSMethod(JSMethod::onLogout).handle();
    EXPECT_EQ(sharedDefaults().string("token"), "t0k");
    runUntil([] { return !headlessBackend().effects().linesStartingWith("workspace opened:").empty(); });
    EXPECT_EQ(sharedDefaults().string("token"), std::nullopt);
}

TEST_F(ScriptMessageBridgeTest, UnknownNamesArePrintedAndNothingElseHappens) {
    sharedDefaults().set(std::string("t0k"), "token");
    ScriptMessageBridge bridge;
    for (const std::string name : {"onrefreshdata", "OnRefreshData", "onPlaySound", ""}) {
        const testsupport::CapturedOutput output;
        bridge.didReceiveScriptMessage({name, "null"});
        MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(50));
        EXPECT_EQ(output.text(), "Unkown JSMethod: " + name + "\n");
    }
    EXPECT_EQ(effects(), std::vector<std::string>{});

    // A known name is performed in a task of its own, after the handler has returned.
    const testsupport::CapturedOutput output;
    bridge.didReceiveScriptMessage({"onRefreshData", "null"});
    EXPECT_EQ(authRequests(), 0u);
    runUntil([] { return AppState::shared().user.get().has_value(); });
    EXPECT_EQ(effects(), std::vector<std::string>{"server: GET /auth with token=t0k"});
    EXPECT_EQ(output.text(), "");
}

}  // namespace
}  // namespace kestrova
