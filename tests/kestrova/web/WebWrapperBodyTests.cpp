// The main window's content on the headless backend: which screens show, how they fade, the web
// view's life across the network's loss, and the reload action the window offers to the commands.
#include "kestrova/web/WebWrapper.hpp"

#include "platform/runtime/foundation/core/SystemVersionOverride.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "platform/kits/scenes/FocusedValues.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/ViewHost.hpp"
#include "platform/kits/webkit/WebView.hpp"
#include "kestrova/connectivity/ConnectivityController.hpp"
#include "kestrova/state/AppState.hpp"
#include "kestrova/web/HostedWebView.hpp"
#include "kestrova/web/WebWrapperViewCoordinator.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kestrova {
namespace {

using testsupport::MainLoop;
using Status = network::Path::Status;

constexpr ui::Size windowSize{800, 600};
constexpr const char* loadingText = "Loading...";
constexpr const char* offlineText = "The Internet connection appears to be offline.";

// How opaque the first view that matches shows, through every view above it; none when absent.
std::optional<double> shownOpacity(const ui::LaidOutView& view, const std::function<bool(const ui::LaidOutView&)>& match) {
    if (match(view)) {
        return view.opacity;
    }
    for (const auto& child : view.children) {
        if (const auto inner = shownOpacity(child, match)) {
            return view.opacity * *inner;
        }
    }
    return std::nullopt;
}

std::function<bool(const ui::LaidOutView&)> text(const std::string& shown) {
    return [shown](const ui::LaidOutView& view) { return view.text() == shown; };
}

bool isNative(const ui::LaidOutView& view) { return view.as<ui::node::Native>() != nullptr; }

// The content as it shows now, for a person to look at when KESTROVA_PICTURES_DIR is set.
void picture(const ui::ViewHost& host, const std::string& name) {
    if (const char* directory = std::getenv("KESTROVA_PICTURES_DIR")) {
        EXPECT_TRUE(host.render().writePNG(std::filesystem::path(directory) / (name + ".png")));
    }
}

// One window's content in a host whose clock the test moves.
class WebWrapperBodyTest : public testing::Test {
protected:
    void SetUp() override {
        paths().post({Status::satisfied});
        AppState::shared().user = std::nullopt;
        AppState::shared().isBeta = false;
        AppState::shared().pageZoom = 1.0;
    }
    void TearDown() override { SetUp(); }

    static headless::HeadlessPathService& paths() { return headless::HeadlessBackend::installed().pathService(); }
    static headless::HeadlessEffects& effects() { return headless::HeadlessBackend::installed().effects(); }

    std::unique_ptr<ui::ViewHost> show(WebWrapper& window) {
        ui::ViewHost::Options options;
        options.size = windowSize;
        // The application's windows are always dark.
        options.environment.colorScheme = ui::ColorScheme::dark;
        options.clock = [this] { return clock; };
        return std::make_unique<ui::ViewHost>([&window] { return window.body(); }, options);
    }

    // Lets the window hear what changed and the host re-evaluate.
    static void settle() { MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(20)); }

    static HostedWebView* hosted(const ui::ViewHost& host) {
        const auto* native = host.laidOut().first<ui::node::Native>();
        return native == nullptr ? nullptr : dynamic_cast<HostedWebView*>(native->as<ui::node::Native>()->view.get());
    }
    static headless::HeadlessWebPage& page(const ui::ViewHost& host) {
        return headless::HeadlessWebEngine::pageOf(*hosted(host)->coordinator->webView);
    }

    // The path monitor reports on a queue of its own: wait until the window's content has shown the
    // change (the web view dropped or made anew), however long the hop to the main thread takes.
    void network(const ui::ViewHost& host, Status status) {
        paths().post({status});
        const bool connected = status == Status::satisfied;
        ASSERT_TRUE(MainLoop::iterateUntil([&] { return (hosted(host) != nullptr) == connected; }));
        settle();
    }

    double clock = 0;
    const double fade = ui::Animation::standard().duration();
};

TEST_F(WebWrapperBodyTest, TheLoadingScreenCoversTheWebViewUntilThePageHasLoadedAndThenFades) {
    WebWrapper window(AppState::shared(), true, "Kestrova");
    auto host = show(window);

    // Black under everything, the loading screen, and the web content in front of it, hidden.
    const auto& tree = host->laidOut();
    const auto* black = tree.first<ui::node::ColorFill>();
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(black->frame.size, windowSize);
    EXPECT_EQ(shownOpacity(tree, text(loadingText)), 1.0);
    const auto* icon = tree.first<ui::node::Image>();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->as<ui::node::Image>()->name, "AppIcon");
    EXPECT_LE(icon->frame.width(), 56.0);
    EXPECT_LE(icon->frame.height(), 56.0);
    EXPECT_NEAR(icon->frame.midX(), windowSize.width / 2, 0.5);
    const auto* web = tree.first<ui::node::Native>();
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->frame, (ui::Rect{{0, 0}, windowSize}));
    EXPECT_EQ(shownOpacity(tree, isNative), 0.0);
    EXPECT_EQ(shownOpacity(tree, text(offlineText)), std::nullopt);
    EXPECT_EQ(page(*host).url()->absoluteString(), "https://kestrova.example/login");

    // The page finishes: the web content fades in while the loading screen fades out.
    page(*host).setTitle("Sign in");
    page(*host).respond("text/html", true);
    settle();
    EXPECT_FALSE(window.isLoading);
    clock += fade / 2;
    const auto halfway = host->presentation();
    const double webHalfway = *shownOpacity(halfway, isNative);
    const double loadingHalfway = *shownOpacity(halfway, text(loadingText));
    EXPECT_GT(webHalfway, 0.0);
    EXPECT_LT(webHalfway, 1.0);
    EXPECT_GT(loadingHalfway, 0.0);
    EXPECT_LT(loadingHalfway, 1.0);
    clock += fade;
    const auto after = host->presentation();
    EXPECT_EQ(shownOpacity(after, isNative), 1.0);
    EXPECT_EQ(shownOpacity(after, text(loadingText)), std::nullopt);
    const auto titles = after.all([](const ui::LaidOutView& view) {
        const auto* annotation = view.as<ui::node::Annotation>();
        return annotation != nullptr && annotation->key == "navigationTitle";
    });
    ASSERT_EQ(titles.size(), 1U);
    EXPECT_EQ(titles.front()->as<ui::node::Annotation>()->value, "Sign in");

    // The next navigation covers the page again; the web view stays the one made at first.
    auto* made = hosted(*host);
    page(*host).clickLink(foundation::URL::fromString("https://kestrova.example/home"));
    settle();
    EXPECT_TRUE(window.isLoading);
    clock += fade;
    EXPECT_EQ(shownOpacity(host->presentation(), isNative), 0.0);
    EXPECT_EQ(shownOpacity(host->presentation(), text(loadingText)), 1.0);
    EXPECT_EQ(hosted(*host), made);
}

TEST_F(WebWrapperBodyTest, OfflineTheWebViewGivesWayToTheOfflineScreenAndComesBackAtTheCurrentPage) {
    WebWrapper window(AppState::shared(), true, "Kestrova");
    auto host = show(window);
    page(*host).respond("text/html", true);
    settle();
    ASSERT_FALSE(window.isLoading);
    std::weak_ptr<WebWrapperViewCoordinator> first = hosted(*host)->coordinator;

    network(*host, Status::unsatisfied);
    EXPECT_TRUE(window.isLoading);
    EXPECT_EQ(hosted(*host), nullptr);
    EXPECT_TRUE(first.expired());
    clock += fade;
    const auto offline = host->presentation();
    EXPECT_EQ(shownOpacity(offline, text(offlineText)), 1.0);
    EXPECT_EQ(shownOpacity(offline, text(loadingText)), std::nullopt);
    EXPECT_EQ(offline.first<ui::node::Native>(), nullptr);
    const auto* symbol = offline.first<ui::node::Image>();
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(symbol->as<ui::node::Image>()->name, "antenna.radiowaves.left.and.right.slash");
    EXPECT_EQ(symbol->frame.size, (ui::Size{32, 32}));
    picture(*host, "wrapper-offline");

    // A link opened meanwhile changes the page the window comes back to.
    window.openURL(*foundation::URL::fromString("https://kestrova.example/ann"));
    network(*host, Status::satisfied);
    ASSERT_NE(hosted(*host), nullptr);
    EXPECT_EQ(page(*host).url()->absoluteString(), "https://kestrova.example/ann");
    clock += fade;
    const auto back = host->presentation();
    EXPECT_EQ(shownOpacity(back, text(offlineText)), std::nullopt);
    EXPECT_EQ(shownOpacity(back, text(loadingText)), 1.0);
    EXPECT_EQ(shownOpacity(back, isNative), 0.0);
    page(*host).respond("text/html", true);
    settle();
    clock += fade;
    EXPECT_EQ(shownOpacity(host->presentation(), isNative), 1.0);
}

TEST_F(WebWrapperBodyTest, SwitchingBetaTakesTheShownWebViewToTheRootOfTheChosenFrontEnd) {
    WebWrapper window(AppState::shared(), true, "Kestrova");
    auto host = show(window);
    page(*host).respond("text/html", true);
    AppState::shared().isBeta = true;
    settle();
    EXPECT_EQ(window.url.absoluteString(), "https://beta.kestrova.example/");
    EXPECT_EQ(page(*host).url()->absoluteString(), "https://beta.kestrova.example/");
}

TEST_F(WebWrapperBodyTest, TheFocusedWindowsReloadActionReloadsThatWindowOnly) {
    WebWrapper first(AppState::shared(), true, "Kestrova");
    WebWrapper second(AppState::shared(), true, "Kestrova");
    auto firstHost = show(first);
    auto secondHost = show(second);
    page(*firstHost).respond("text/html", true);
    page(*secondHost).respond("text/html", true);
    settle();

    ui::FocusedValues::shared().replace(firstHost->focusedValues());
    const auto reload = ui::FocusedValues::shared().value<std::function<void()>>("viewToReload");
    ASSERT_TRUE(reload.has_value());
    effects().clear();
    (*reload)();
    EXPECT_EQ(effects().linesStartingWith("web reload").size(), 1U);
    EXPECT_TRUE(first.isLoading);
    EXPECT_FALSE(second.isLoading);
    ui::FocusedValues::shared().replace({});

    // Systems before the focused scene values offer no reload action.
    const foundation::SystemVersionOverride older({11, 7, 0});
    secondHost->update();
    EXPECT_FALSE(secondHost->focusedValues().contains("viewToReload"));
}

}  // namespace
}  // namespace kestrova
