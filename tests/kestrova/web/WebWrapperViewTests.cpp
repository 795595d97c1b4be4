#include "kestrova/web/WebWrapperView.hpp"

#include "platform/runtime/foundation/core/FileManager.hpp"
#include "platform/runtime/foundation/core/SystemVersionOverride.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "platform/kits/webkit/WebView.hpp"
#include "kestrova/web/DownloadSaver.hpp"
#include "kestrova/web/JSMethod.hpp"
#include "kestrova/web/ScriptMessageBridge.hpp"
#include "kestrova/web/WebWrapperViewCoordinator.hpp"
#include "tests/kestrova/web/WindowState.hpp"
#include "tests/support/CapturedOutput.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>

#include <array>
#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace kestrova {
namespace {

using testsupport::MainLoop;
using webkit::EventModifierFlags;

foundation::URL url(const std::string& text) { return *foundation::URL::fromString(text); }

headless::HeadlessBackend& backend() { return headless::HeadlessBackend::installed(); }

// One window's state around the web view, as the window keeps it.
using webtest::WindowState;

class WebWrapperViewTest : public testing::Test {
protected:
    void SetUp() override {
        backend().effects().clear();
        coordinator = state.view().makeCoordinator();
        state.view().makeView(*coordinator);
    }

    headless::HeadlessWebPage& page() { return headless::HeadlessWebEngine::pageOf(*coordinator->webView); }
    static std::vector<std::string> effects() { return backend().effects().lines(); }
    static std::vector<std::string> effects(const std::string& prefix) {
        return backend().effects().linesStartingWith(prefix);
    }
    // Lets the main-actor tasks that the coordinator started run.
    static void drain() {
        MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(20));
    }
    // Shows the page at the bound URL, as the server would.
    void finishFirstLoad() {
        page().respond("text/html", true);
        drain();
        backend().effects().clear();
    }

    WindowState state{kestrova::url("https://kestrova.example/login")};
    std::shared_ptr<WebWrapperViewCoordinator> coordinator;
};

TEST_F(WebWrapperViewTest, TheWebViewRegistersOneHandlerUnderEveryNameInOrderAndIsSetUpOnce) {
    const auto& registrations = coordinator->webView->configuration().userContentController->registrations();
    std::vector<std::string> names;
    for (const auto& registration : registrations) {
        names.push_back(registration.name);
        EXPECT_EQ(registration.handler, registrations.front().handler);
        EXPECT_NE(dynamic_cast<ScriptMessageBridge*>(registration.handler.get()), nullptr);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"onPublishedEntry", "onRefreshData", "onLogin", "onLogout",
                                               "onPlayPublishSound", "onPlayWaterPublishSound",
                                               "onPlayMessageSentSound", "onPlayMessageReceivedSound"}));
    const auto& configuration = coordinator->webView->configuration();
    EXPECT_TRUE(configuration.allowsAirPlayForMediaPlayback);
    EXPECT_TRUE(configuration.limitsNavigationsToAppBoundDomains);
    EXPECT_FALSE(page().allowsBackForwardNavigationGestures());
    EXPECT_FALSE(page().drawsBackground());
    EXPECT_EQ(coordinator->webView->navigationDelegate(), coordinator.get());
    EXPECT_EQ(coordinator->webView->uiDelegate(), coordinator.get());
    EXPECT_FALSE(coordinator->downloadDelegate->filePathDestination.has_value());
}

// Element full screen came with release 12.3 and the under-page colour with 12.0; older releases get
// neither call.
TEST_F(WebWrapperViewTest, ElementFullScreenAndTheUnderPageColourFollowTheSystemRelease) {
    struct Case {
        foundation::OperatingSystemVersion system;
        bool elementFullscreen;
        bool underPageColour;
    };
    const Case cases[] = {
        {{11, 7, 0}, false, false}, {{12, 0, 0}, false, true}, {{12, 2, 0}, false, true},
        {{12, 3, 0}, true, true},   {{14, 0, 0}, true, true},
    };
    for (const auto& c : cases) {
        const foundation::SystemVersionOverride system(c.system);
        const auto webView = WebWrapperViewCoordinator::makeWebView();
        const auto& made = headless::HeadlessWebEngine::pageOf(*webView);
        SCOPED_TRACE(std::to_string(c.system.majorVersion) + "." + std::to_string(c.system.minorVersion));
        EXPECT_EQ(webView->configuration().preferences.elementFullscreenEnabled, c.elementFullscreen);
        EXPECT_EQ(made.underPageBackgroundColor(),
                  c.underPageColour ? std::optional(std::array<double, 4>{0, 0, 0, 1}) : std::nullopt);
        EXPECT_FALSE(made.drawsBackground());
    }
}

TEST_F(WebWrapperViewTest, TheFirstLoadIsTheBoundPageWithASixtySecondTimeOut) {
    WindowState beta{kestrova::url("https://kestrova.example/login")};
    beta.isBeta = true;
    beta.pageZoom = 1.5;
    beta.url = url("https://kestrova.example/home?x=1");
    backend().effects().clear();
    const auto other = beta.view().makeCoordinator();
    beta.view().makeView(*other);
    EXPECT_EQ(effects("web load"),
              std::vector<std::string>{"web load: https://beta.kestrova.example/home?x=1 (timeout 60, cache protocol)"});
    EXPECT_EQ(headless::HeadlessWebEngine::pageOf(*other->webView).pageZoom(), 1.5);
}

TEST_F(WebWrapperViewTest, AnUpdateLoadsOnlyWhenTheBoundURLDiffersAndCopiesBetaLast) {
    finishFirstLoad();
    ASSERT_EQ(state.url.absoluteString(), "https://kestrova.example/login");

    // Nothing changed: the web view is left alone; only the beta copy follows.
    state.isBeta = true;
    state.view().updateView(*coordinator);
    EXPECT_TRUE(effects().empty());
    EXPECT_TRUE(coordinator->isBeta);

    // The zoom alone.
    state.pageZoom = 2.0;
    state.view().updateView(*coordinator);
    EXPECT_EQ(page().pageZoom(), 2.0);
    EXPECT_TRUE(effects().empty());

    // A new URL while the page still loads: stop first, then load it on the chosen host.
    page().clickLink(url("https://kestrova.example/a"));  // loaded in place: provisional now
    ASSERT_TRUE(page().isLoading());
    backend().effects().clear();
    state.url = url("https://kestrova.example/deep");
    state.view().updateView(*coordinator);
    EXPECT_EQ(effects(), (std::vector<std::string>{
                             "web stop",
                             "web load: https://beta.kestrova.example/deep (timeout 60, cache protocol)",
                             "web action: other https://beta.kestrova.example/deep -> allow",
                         }));

    // No load in progress: no stop.
    page().respond("text/html", true);
    drain();
    backend().effects().clear();
    state.url = url("https://kestrova.example/other");
    state.isBeta = false;
    state.view().updateView(*coordinator);
    EXPECT_EQ(effects().front(), "web load: https://kestrova.example/other (timeout 60, cache protocol)");
    EXPECT_FALSE(coordinator->isBeta);
}

TEST_F(WebWrapperViewTest, TheWindowFollowsTheLoadingStateURLAndTitleOfThePage) {
    EXPECT_TRUE(state.isLoading);
    page().respond("text/html", true);
    EXPECT_FALSE(state.isLoading);
    // URL and title go through main-actor tasks.
    page().setTitle("Login · Kestrova");
    drain();
    EXPECT_EQ(state.title, "Login · Kestrova");
    EXPECT_EQ(state.url.absoluteString(), "https://kestrova.example/login");

    // A title the page takes away leaves the window's as it was.
    page().setTitle(std::nullopt);
    drain();
    EXPECT_EQ(state.title, "Login · Kestrova");

    page().navigate(url("https://kestrova.example/home"), webkit::NavigationType::formSubmitted);
    EXPECT_TRUE(state.isLoading);
    page().respond("text/html", true);
    drain();
    EXPECT_EQ(state.url.absoluteString(), "https://kestrova.example/home");
    // The binding now equals the page: the next update loads nothing.
    backend().effects().clear();
    state.view().updateView(*coordinator);
    EXPECT_TRUE(effects().empty());

    // Finishing in a window gives the page the keyboard.
    page().setInWindow(true);
    page().navigate(url("https://kestrova.example/x"), webkit::NavigationType::other);
    page().respond("text/html", true);
    EXPECT_EQ(effects("web first responder").size(), 1U);
}

TEST_F(WebWrapperViewTest, AFailedNavigationKeepsTheLoadingScreenUntilALaterOneFinishesAndReloadTriesAgain) {
    // The first page fails: the engine has nothing to reload, so Reload loads the window's page.
    page().fail();
    drain();
    EXPECT_TRUE(state.isLoading);
    backend().effects().clear();
    state.reloadSubject.send();
    EXPECT_EQ(effects("web load"),
              std::vector<std::string>{"web load: https://kestrova.example/login (timeout 60, cache protocol)"});
    page().respond("text/html", true);
    EXPECT_FALSE(state.isLoading);

    // A later failure over a page shown: still loading, on the page the engine went back to, which
    // Reload reloads.
    page().navigate(url("https://kestrova.example/home"), webkit::NavigationType::formSubmitted);
    page().fail();
    drain();
    EXPECT_TRUE(state.isLoading);
    EXPECT_EQ(state.url.absoluteString(), "https://kestrova.example/login");
    backend().effects().clear();
    state.reloadSubject.send();
    EXPECT_EQ(effects().front(), "web reload");
    page().respond("text/html", true);
    EXPECT_FALSE(state.isLoading);
}

TEST_F(WebWrapperViewTest, ALinkThatArrivesWhileTheFirstPageLoadsWaitsForItAndIsNeverDropped) {
    struct Case {
        const char* name;
        bool firstPageFails;
        bool linkedPageFails;
    };
    const Case cases[] = {
        {"both pages load", false, false},
        {"the first page fails", true, false},
        {"both pages fail", true, true},
    };
    const std::string linked = "https://kestrova.example/ann/daily-notes";
    for (const auto& c : cases) {
        WindowState window{url("https://kestrova.example/login")};
        const auto other = window.view().makeCoordinator();
        window.view().makeView(*other);
        auto& engine = headless::HeadlessWebEngine::pageOf(*other->webView);
        backend().effects().clear();

        window.url = url(linked);
        window.view().updateView(*other);
        EXPECT_TRUE(effects().empty()) << c.name;
        // The engine's reports of the first page leave the window on the link's page.
        drain();
        window.view().updateView(*other);
        EXPECT_TRUE(effects().empty()) << c.name;
        EXPECT_EQ(window.url.absoluteString(), linked) << c.name;

        if (c.firstPageFails) {
            engine.fail();
        } else {
            engine.respond("text/html", true);
        }
        EXPECT_EQ(effects("web load"),
                  std::vector<std::string>{"web load: " + linked + " (timeout 60, cache protocol)"})
            << c.name;
        EXPECT_TRUE(window.isLoading) << c.name;
        if (c.linkedPageFails) {
            engine.fail();
        } else {
            engine.respond("text/html", true);
        }
        drain();
        window.view().updateView(*other);
        EXPECT_EQ(window.isLoading, c.linkedPageFails) << c.name;
        EXPECT_EQ(window.url.absoluteString(), linked) << c.name;
        // Nothing is asked for again by itself.
        EXPECT_EQ(effects("web load").size(), 1U) << c.name;
    }
}

TEST_F(WebWrapperViewTest, EachValueOfTheReloadSubjectReloadsThePage) {
    finishFirstLoad();
    state.reloadSubject.send();
    state.reloadSubject.send();
    EXPECT_EQ(effects("web reload").size(), 2U);
    // Once the coordinator is gone, nothing is reloaded and nothing breaks.
    coordinator.reset();
    state.reloadSubject.send();
}

TEST_F(WebWrapperViewTest, LinksAreReloadedInPlaceSentToTheBrowserOrToAWindow) {
    finishFirstLoad();
    state.view().updateView(*coordinator);  // the beta copy is false

    page().clickLink(url("https://kestrova.example/ann"));
    EXPECT_EQ(effects(), (std::vector<std::string>{
                             "web action: link https://kestrova.example/ann -> cancel",
                             "web load: https://kestrova.example/ann (timeout 60, cache protocol)",
                             "web action: other https://kestrova.example/ann -> allow",
                         }));
    page().respond("text/html", true);
    drain();
    backend().effects().clear();

    page().clickLink(url("https://example.org/elsewhere"));
    EXPECT_EQ(effects(), (std::vector<std::string>{
                             "workspace opened: https://example.org/elsewhere",
                             "web action: link https://example.org/elsewhere -> cancel",
                         }));
    EXPECT_EQ(page().url()->absoluteString(), "https://kestrova.example/ann");
    backend().effects().clear();

    page().clickLink(url("https://kestrova.example/e/1"), EventModifierFlags{EventModifierFlags::control});
    page().clickLink(url("https://kestrova.example/e/2"), {}, webkit::NavigationAction::middleButton);
    EXPECT_EQ(effects("workspace opened"),
              (std::vector<std::string>{
                  "workspace opened: kestrova:///open?url=https://kestrova.example/e/1",
                  "workspace opened: kestrova:///open?url=https://kestrova.example/e/2",
              }));
    EXPECT_FALSE(page().isLoading());
}

TEST_F(WebWrapperViewTest, NewWindowRequestsOpenAWindowOrTheBrowserAndThePageGetsNone) {
    finishFirstLoad();
    page().requestNewWindow(url("https://beta.kestrova.example/p"));
    page().requestNewWindow(url("https://example.org/p"));
    page().requestNewWindow(url("https://kestrova.example/same"), true);
    page().requestNewWindow(std::nullopt);
    EXPECT_EQ(effects("workspace opened"),
              (std::vector<std::string>{
                  "workspace opened: kestrova:///open?url=https://beta.kestrova.example/p",
                  "workspace opened: https://example.org/p",
              }));
}

// A page may hand the desktop only web and mail links, and only when the person clicked: a script
// alone opens nothing outside the application, and the refusal is said once.
TEST_F(WebWrapperViewTest, OnlyWebAndMailLinksThatThePersonClickedLeaveTheApplication) {
    finishFirstLoad();
    const testsupport::CapturedOutput errors(STDERR_FILENO);
    page().navigate(url("https://example.org/by-a-script"), webkit::NavigationType::other);
    page().requestNewWindow(url("smb://files.example.org/share"));
    page().requestNewWindow(url("file:///home/ann/"));
    page().requestNewWindow(url("https://example.org/popup"), false, false);
    page().clickLink(url("https://example.org/clicked"));
    page().requestNewWindow(url("mailto:ann@example.org"));
    EXPECT_EQ(effects("workspace opened"), (std::vector<std::string>{
                                               "workspace opened: https://example.org/clicked",
                                               "workspace opened: mailto:ann@example.org",
                                           }));
    const std::string said = errors.text();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("outside the application"), std::string::npos) << said;
}

TEST_F(WebWrapperViewTest, ResponsesThatAreNotHTMLBecomeDownloadsSavedWhereTheUserChoosesWhichANotificationTells) {
    finishFirstLoad();
    testsupport::ScratchDirectory scratch;
    auto& panels = backend().panelService();
    auto& notifications = backend().notificationService();
    notifications.reset();

    page().navigate(url("https://kestrova.example/report.pdf"), webkit::NavigationType::other);
    page().respond("application/pdf", true, "%PDF-1.4 report", "report.pdf");
    ASSERT_EQ(panels.pendingSavePanels().size(), 1U);
    const auto& request = panels.pendingSavePanels().front();
    EXPECT_EQ(request.nameFieldStringValue, "report.pdf");
    EXPECT_TRUE(request.canCreateDirectories);
    try {
        EXPECT_EQ(request.directoryURL, foundation::FileManager::defaultManager().downloadsDirectory());
    } catch (const std::exception&) {
        EXPECT_FALSE(request.directoryURL.has_value());
    }

    // A second download before the first panel ended: each panel answers its own download.
    page().navigate(url("https://kestrova.example/photo.png"), webkit::NavigationType::other);
    page().respond("image/png", true, "PNG", "photo.png");
    ASSERT_EQ(panels.pendingSavePanels().size(), 2U);

    const auto chosen = foundation::URL::fileURL((scratch.path() / "saved report.pdf").string());
    panels.endSavePanel(0, chosen);
    EXPECT_EQ(coordinator->downloadDelegate->filePathDestination, chosen);
    panels.endSavePanel(0, std::nullopt);  // the photo's panel is cancelled
    EXPECT_EQ(coordinator->downloadDelegate->filePathDestination, chosen);

    std::ifstream file(scratch.path() / "saved report.pdf");
    std::stringstream content;
    content << file.rdbuf();
    EXPECT_EQ(content.str(), "%PDF-1.4 report");
    EXPECT_EQ(effects("web download"),
              (std::vector<std::string>{
                  "web download: https://kestrova.example/report.pdf to " + chosen.path(),
                  "web download cancelled: https://kestrova.example/photo.png",
              }));
    EXPECT_EQ(page().url()->absoluteString(), "https://kestrova.example/login");
    drain();
    EXPECT_EQ(state.url.absoluteString(), "https://kestrova.example/login");

    // The saved download, and only that one, says where its file is, with the way to reveal it.
    ASSERT_EQ(notifications.posted().size(), 1U);
    const auto& notification = notifications.posted().front();
    EXPECT_EQ(notification.identifier, chosen.absoluteString());
    EXPECT_EQ(notification.content.title, "Download finished");
    EXPECT_EQ(notification.content.body, "saved report.pdf");
    EXPECT_EQ(notification.content.userInfo,
              (usernotifications::UserInfo{{"fileURL", chosen.absoluteString()}}));
    EXPECT_EQ(notification.content.actions,
              (std::vector<usernotifications::NotificationAction>{{"show-in-folder", "Show in folder"}}));
}

TEST_F(WebWrapperViewTest, ADownloadWhoseFileCannotBeWrittenFailsAndTellsOfNoFile) {
    finishFirstLoad();
    backend().notificationService().reset();
    page().navigate(url("https://kestrova.example/report.pdf"), webkit::NavigationType::other);
    page().respond("application/pdf", true, "%PDF-1.4 report", "report.pdf");
    testsupport::CapturedOutput output;
    backend().panelService().endSavePanel(0, foundation::URL::fileURL("/nonexistent-folder/report.pdf"));
    EXPECT_EQ(effects("web download"),
              std::vector<std::string>{"web download failed: https://kestrova.example/report.pdf"});
    EXPECT_EQ(output.text().rfind("Download failed:\n", 0), 0U) << output.text();
    EXPECT_TRUE(backend().notificationService().posted().empty());
}

TEST_F(WebWrapperViewTest, AFailedDownloadPrintsThreeLines) {
    finishFirstLoad();
    page().navigate(url("https://kestrova.example/big.zip"), webkit::NavigationType::other);
    page().respond("application/zip", false, "zip");
    testsupport::CapturedOutput output;
    page().failDownload(0, {"NSURLErrorDomain", -1005, "The network connection was lost."});
    EXPECT_EQ(output.text(),
              "Download failed:\n"
              "Error Domain=NSURLErrorDomain Code=-1005 \"The network connection was lost.\"\n"
              "The network connection was lost.\n");
}

TEST_F(WebWrapperViewTest, ThePagesQuestionsAreAnsweredByAlertsAndPanels) {
    finishFirstLoad();
    auto& panels = backend().panelService();

    panels.answerNextAlert(0);
    EXPECT_EQ(page().confirm("Delete the entry?"), true);
    panels.answerNextAlert(1);
    EXPECT_EQ(page().confirm("Delete the entry?"), false);
    EXPECT_EQ(page().confirm("Dismissed?"), false);
    EXPECT_EQ(effects("alert").front(), "alert: warning \"Delete the entry?\" \"\" buttons [OK] [Cancel] -> [OK]");

    backend().effects().clear();
    panels.answerNextAlert(0, "");
    using Answer = std::optional<std::optional<std::string>>;
    EXPECT_EQ(page().prompt("Name the group", "Default"), Answer(std::optional<std::string>("")));
    panels.answerNextAlert(0, "Runs");
    EXPECT_EQ(page().prompt("Name the group", std::nullopt), Answer(std::optional<std::string>("Runs")));
    panels.answerNextAlert(1, "typed then cancelled");
    EXPECT_EQ(page().prompt("Name the group", std::nullopt), Answer(std::optional<std::string>()));
    // The default text is not offered: the field starts empty.
    EXPECT_EQ(effects("alert").front(),
              "alert: warning \"Alert\" \"Name the group\" buttons [Submit] [Cancel] field 300x24 \"\" -> [Submit]");

    backend().effects().clear();
    page().chooseFiles({.allowsDirectories = true, .allowsMultipleSelection = true});
    EXPECT_FALSE(page().chosenFiles().has_value());
    EXPECT_EQ(effects(), std::vector<std::string>{"open panel: files directories multiple"});
    const std::vector<foundation::URL> files = {foundation::URL::fileURL("/tmp/a.jpg"),
                                                foundation::URL::fileURL("/tmp/b.jpg")};
    panels.endOpenPanel(0, files);
    EXPECT_EQ(page().chosenFiles(), std::optional<std::optional<std::vector<foundation::URL>>>(files));
    page().chooseFiles({});
    EXPECT_EQ(effects().back(), "open panel: files");
    panels.endOpenPanel(0, std::nullopt);
    EXPECT_EQ(page().chosenFiles(),
              std::optional<std::optional<std::vector<foundation::URL>>>(std::optional<std::vector<foundation::URL>>()));
}

TEST_F(WebWrapperViewTest, ScriptMessagesGoByNameToTheBridge) {
    testsupport::CapturedOutput output;
    page().postMessage("onPlayMessageSentSound", R"({"any":"body"})");
    page().postMessage("onlogin");
    EXPECT_EQ(effects("web message"), (std::vector<std::string>{"web message: onPlayMessageSentSound",
                                                                "web message unregistered: onlogin"}));
    // A name the bridge does not know is printed and goes no further.
    ScriptMessageBridge().didReceiveScriptMessage({"onLogIn", "null"});
    drain();
    EXPECT_EQ(output.text(), "Unkown JSMethod: onLogIn\n");
}

}  // namespace
}  // namespace kestrova
