#include "kestrova/web/WebWrapper.hpp"

#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "platform/kits/webkit/WebView.hpp"
#include "kestrova/connectivity/ConnectivityController.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "kestrova/state/AppState.hpp"
#include "kestrova/web/WebWrapperView.hpp"
#include "kestrova/web/WebWrapperViewCoordinator.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrova {
namespace {

Journal journal(std::int64_t id, const std::string& slug) {
    Journal j;
    j.id = id;
    j.slug = slug;
    j.title = slug;
    return j;
}

User ann() {
    User user;
    user.id = 1;
    user.username = "ann";
    user.journals = std::vector<Journal>{journal(3, "first"), journal(12, "daily-notes"), journal(12, "later-twin")};
    return user;
}

class WebWrapperTest : public testing::Test {
protected:
    void SetUp() override {
        sharedDefaults().removeObject("user");
        AppState::shared().user = std::nullopt;
        AppState::shared().isBeta = false;
        AppState::shared().pageZoom = 1.0;
    }
    void TearDown() override { SetUp(); }

    static std::optional<std::string> target(const std::string& link, bool isBeta) {
        const auto result = WebWrapper::linkTarget(*foundation::URL::fromString(link), isBeta);
        return result ? std::optional<std::string>(result->absoluteString()) : std::nullopt;
    }
};

TEST_F(WebWrapperTest, TheStartPageIsLoginOrHomeOnTheChosenFrontEnd) {
    EXPECT_EQ(WebWrapper::startURL().absoluteString(), "https://kestrova.example/login");
    AppState::shared().isBeta = true;
    EXPECT_EQ(WebWrapper::startURL().absoluteString(), "https://beta.kestrova.example/login");
    AppState::shared().user = ann();
    EXPECT_EQ(WebWrapper::startURL().absoluteString(), "https://beta.kestrova.example/home");
    AppState::shared().isBeta = false;
    EXPECT_EQ(WebWrapper::startURL().absoluteString(), "https://kestrova.example/home");
}

TEST_F(WebWrapperTest, LinksOpenTheirPageOrLeaveTheWindowAsItIs) {
    AppGroupDefaults::shared().saveUser(ann());
    struct Case {
        const char* link;
        bool isBeta;
        std::optional<std::string> page;
    };
    const std::vector<Case> cases = {
        // Pages of the service.
        {"https://kestrova.example/ann?tab=1#c", false, "https://kestrova.example/ann?tab=1#c"},
        {"https://kestrova.example/ann", true, "https://beta.kestrova.example/ann"},
        {"https://beta.kestrova.example/ann", false, "https://kestrova.example/ann"},
        {"https://api.kestrova.example/x", true, "https://api.kestrova.example/x"},
        {"https://example.org/kestrova", false, std::nullopt},
        // Only the service's own origin, and the service's http pages over https: no other host, port
        // or scheme ever becomes the signed-in window's page.
        {"http://kestrova.example/ann", true, "https://beta.kestrova.example/ann"},
        {"http://kestrova.example:18100/", false, std::nullopt},
        {"https://kestrova.example:18100/", false, std::nullopt},
        {"https://www.kestrova.example/x", false, std::nullopt},
        {"https://kestrova.example.evil.example/x", false, std::nullopt},
        {"javascript://kestrova.example/%0Awindow.webkit.messageHandlers.onLogout.postMessage(1)", false,
         std::nullopt},
        {"file://kestrova.example/etc/passwd", false, std::nullopt},
        // The create-entry link: the cached user's journal of that id, the first one in order.
        {"kestrova:///create-entry?journalId=12", false, "https://kestrova.example/ann/daily-notes"},
        {"kestrova:///create-entry?journalId=12", true, "https://beta.kestrova.example/ann/daily-notes"},
        {"kestrova:///create-entry?journalId=12&username=bob&journalSlug=x", false,
         "https://kestrova.example/ann/daily-notes"},
        {"kestrova:///create-entry?journalId=%2B3", false, "https://kestrova.example/ann/first"},
        {"kestrova:///create-entry?journalId=3&journalId=12", false, "https://kestrova.example/ann/first"},
        {"kestrova:///create-entry?journalId=x12", false, std::nullopt},
        {"kestrova:///create-entry?journalId=12x", false, std::nullopt},
        {"kestrova:///create-entry?journalId=", false, std::nullopt},
        {"kestrova:///create-entry?journalId", false, std::nullopt},
        {"kestrova:///create-entry?journalId=99", false, std::nullopt},
        {"kestrova:///create-entry", false, std::nullopt},
        // The open link: the service's pages only.
        {"kestrova:///open?url=https://kestrova.example/e/1", false, "https://kestrova.example/e/1"},
        {"kestrova:///open?url=https://kestrova.example/e/1", true, "https://beta.kestrova.example/e/1"},
        {"kestrova:///open?url=https%3A%2F%2Fkestrova.example%2Fs%3Fq%3Da%26b%3D2", false,
         "https://kestrova.example/s?q=a&b=2"},
        {"kestrova:///open?url=http://example.org/page", false, std::nullopt},
        {"kestrova:///open?url=http%3A%2F%2Fkestrova.example%3A18100%2F", false, std::nullopt},
        {"kestrova:///open?url=https%3A%2F%2Fkestrova.example%3A18100%2F", false, std::nullopt},
        {"kestrova:///open?url=http%3A%2F%2Fkestrova.example%2Fhome", false, "https://kestrova.example/home"},
        {"kestrova:///open", false, std::nullopt},
        {"kestrova:///open?url", false, std::nullopt},
        {"kestrova:///open?url=", false, std::nullopt},
        {"kestrova:///open?url=not%20a%20url", false, std::nullopt},
        {"kestrova:///open?url=javascript:alert(document.cookie)", false, std::nullopt},
        {"kestrova:///open?url=file:///etc/passwd", false, std::nullopt},
        {"kestrova:///open?url=data:text/html,%3Cscript%3E%3C/script%3E", false, std::nullopt},
        {"kestrova:///open?url=kestrova:///open", false, std::nullopt},
        // Anything else.
        {"kestrova:///settings", false, std::nullopt},
        {"mailto:ann@example.org", false, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(target(c.link, c.isBeta), c.page) << c.link << (c.isBeta ? " (beta)" : "");
    }
}

TEST_F(WebWrapperTest, ACreateEntryLinkNeedsAReadableCachedUser) {
    EXPECT_EQ(target("kestrova:///create-entry?journalId=12", false), std::nullopt);
    User noJournals = ann();
    noJournals.journals = std::vector<Journal>{};
    AppGroupDefaults::shared().saveUser(noJournals);
    EXPECT_EQ(target("kestrova:///create-entry?journalId=12", false), std::nullopt);
    sharedDefaults().set(foundation::DefaultsValue(foundation::Data(std::string_view("not a user"))), "user");
    EXPECT_EQ(target("kestrova:///create-entry?journalId=12", false), std::nullopt);
}

TEST_F(WebWrapperTest, TheWindowFollowsLinksConnectivityAndTheBetaSwitch) {
    AppGroupDefaults::shared().saveUser(ann());
    WebWrapper window(AppState::shared(), true, "Kestrova");
    EXPECT_TRUE(window.isLoading);
    EXPECT_EQ(window.title, "Kestrova");
    EXPECT_EQ(window.url.absoluteString(), "https://kestrova.example/login");
    EXPECT_TRUE(window.connectivity->isConnected.get());

    window.openURL(*foundation::URL::fromString("kestrova:///create-entry?journalId=12"));
    EXPECT_EQ(window.url.absoluteString(), "https://kestrova.example/ann/daily-notes");
    window.openURL(*foundation::URL::fromString("kestrova:///open?url=javascript:alert(1)"));
    window.openURL(*foundation::URL::fromString("https://example.org/"));
    EXPECT_EQ(window.url.absoluteString(), "https://kestrova.example/ann/daily-notes");

    window.isLoading = false;
    window.connectivityChanged(true);
    EXPECT_FALSE(window.isLoading);
    window.connectivityChanged(false);
    EXPECT_TRUE(window.isLoading);

    // A deep page is left for the root of the chosen front end.
    window.betaChanged(true);
    EXPECT_EQ(window.url.absoluteString(), "https://beta.kestrova.example/");
    window.betaChanged(false);
    EXPECT_EQ(window.url.absoluteString(), "https://kestrova.example/");
}

TEST_F(WebWrapperTest, TheWebContentIsBoundToTheWindowAndReloadsThroughItsAction) {
    AppState::shared().isBeta = true;
    AppState::shared().pageZoom = 1.5;
    WebWrapper window(AppState::shared(), true, "Kestrova");
    const auto content = window.webContent();
    EXPECT_TRUE(content.isBeta);
    EXPECT_EQ(content.pageZoom, 1.5);
    content.title.set("Home");
    EXPECT_EQ(window.title, "Home");

    auto& backend = headless::HeadlessBackend::installed();
    const auto coordinator = content.makeCoordinator();
    content.makeView(*coordinator);
    auto& page = headless::HeadlessWebEngine::pageOf(*coordinator->webView);
    page.respond("text/html", true);
    EXPECT_FALSE(window.isLoading);
    backend.effects().clear();
    window.viewToReload()();
    EXPECT_EQ(backend.effects().linesStartingWith("web reload").size(), 1U);
}

}  // namespace
}  // namespace kestrova
