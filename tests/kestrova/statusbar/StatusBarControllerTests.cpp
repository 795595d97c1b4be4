#include "kestrova/statusbar/StatusBarController.hpp"

#include "kestrova/model/SharedDefaults.hpp"
#include "kestrova/state/AppState.hpp"
#include "kestrova/statusbar/StatusBarIconImage.hpp"
#include "platform/kits/appkit/Application.hpp"
#include "platform/kits/appkit/StatusBar.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "platform/kits/ui/Bitmap.hpp"
#include "tests/support/LocalDayText.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using Lines = std::vector<std::string>;

headless::HeadlessBackend& headlessBackend() {
    return headless::HeadlessBackend::installed();
}

// Each test starts with the setting off, no windows and nothing recorded.
class StatusBarControllerTest : public testing::Test {
protected:
    void SetUp() override {
        AppState::shared().statusBarIcon = false;
        for (const auto& window : appkit::Application::shared().windows()) {
            window->close();
        }
        headlessBackend().effects().clear();
    }
    void TearDown() override { AppState::shared().statusBarIcon = false; }

    static Lines statusLines() { return headlessBackend().effects().linesStartingWith("status "); }
};

TEST_F(StatusBarControllerTest, LaunchingWithTheSettingOnShowsExactlyOneItemWithTheQuitMenu) {
    AppState::shared().statusBarIcon = true;
    StatusBarController controller;
    EXPECT_EQ(statusLines(), Lines{"status item added"});
    ASSERT_NE(controller.statusItem(), nullptr);
    auto* button = controller.statusItem()->button();
    ASSERT_NE(button, nullptr);
    const auto menu = button->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "Kestrova Status Item Menu");
    ASSERT_EQ(menu->items().size(), 1u);
    EXPECT_EQ(menu->items()[0]->title(), "Quit Kestrova");
    EXPECT_EQ(menu->items()[0]->keyEquivalent(), "q");
    const double thickness = appkit::StatusBar::system().thickness();
    EXPECT_EQ(button->image().width, static_cast<int>(thickness));
    EXPECT_TRUE(button->image().isValid());
}

// The pixel at the top of the ring's track, where the arc starts: straight ARGB bytes.
std::vector<std::uint8_t> topOfRing(const appkit::Pixmap& image) {
    const std::size_t x = static_cast<std::size_t>(image.width) / 2;
    // On the line, which is centred on the edge of the 3-point padding (its inner edge has the rim).
    const std::size_t y = 3;
    const auto* pixel = &image.argb[(y * static_cast<std::size_t>(image.width) + x) * 4];
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

TEST_F(StatusBarControllerTest, TheIconIsDrawnAgainWhenTheUserOrTheMonochromeSettingChanges) {
    AppState& appState = AppState::shared();
    appState.user = std::nullopt;
    appState.statusBarIconMonochrome = false;
    appState.statusBarIcon = true;
    StatusBarController controller;
    auto* button = controller.statusItem()->button();
    const appkit::Pixmap signedOut = button->image();

    // One journal, due and written today: the ring is whole.
    Journal journal;
    journal.id = 7;
    journal.isDue = true;
    journal.streakDate = foundation::Text(testsupport::todayText());
    User user;
    user.id = 1;
    user.username = "ann";
    user.journals = std::vector<Journal>{journal};
    appState.user = user;
    EXPECT_EQ(button->image(), signedOut) << "drawn once the main loop turns, not while the change is made";
    ASSERT_TRUE(testsupport::MainLoop::iterateUntil([&] { return button->image() != signedOut; }));
    const appkit::Pixmap coloured = button->image();
    const auto colouredTop = topOfRing(coloured);
    EXPECT_GT(colouredTop[0], 0u) << "the ring is drawn";
    EXPECT_FALSE(colouredTop[1] == colouredTop[2] && colouredTop[2] == colouredTop[3]) << "in the accent colour";

    appState.statusBarIconMonochrome = true;
    ASSERT_TRUE(testsupport::MainLoop::iterateUntil([&] { return button->image() != coloured; }));
    const auto blackTop = topOfRing(button->image());
    EXPECT_GT(blackTop[0], 0u);
    // Black, but for a trace of the rim where the line's coverage falls short of whole.
    EXPECT_LE(std::max({blackTop[1], blackTop[2], blackTop[3]}), 8) << "in black";

    appState.user = std::nullopt;
    sharedDefaults().removeObject("statusBarIconMonochrome");
}

// A panel's colour as red, green and blue from 0 to 255.
using PanelColour = std::array<double, 3>;

// The relative luminance of an sRGB colour, as contrast ratios are reckoned.
double luminance(const PanelColour& colour) {
    double sum = 0;
    const std::array<double, 3> weights{0.2126, 0.7152, 0.0722};
    for (std::size_t index = 0; index < 3; ++index) {
        const double channel = colour[index] / 255;
        sum += weights[index] * (channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4));
    }
    return sum;
}

double contrast(const PanelColour& a, const PanelColour& b) {
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// The icon as a panel of that colour shows it, pixel by pixel.
std::vector<PanelColour> onPanel(const appkit::Pixmap& image, const PanelColour& panel) {
    std::vector<PanelColour> shown;
    for (std::size_t at = 0; at < image.argb.size(); at += 4) {
        const double alpha = image.argb[at] / 255.0;
        PanelColour pixel{};
        for (std::size_t channel = 0; channel < 3; ++channel) {
            pixel[channel] = image.argb[at + 1 + channel] * alpha + panel[channel] * (1 - alpha);
        }
        shown.push_back(pixel);
    }
    return shown;
}

void writePicture(const std::vector<PanelColour>& shown, int side, const std::string& name) {
    const char* directory = std::getenv("KESTROVA_PICTURES_DIR");
    if (directory == nullptr) {
        return;
    }
    constexpr int zoom = 8;
    ui::Bitmap bitmap(side * zoom, side * zoom);
    for (int y = 0; y < side * zoom; ++y) {
        for (int x = 0; x < side * zoom; ++x) {
            const auto& pixel = shown[static_cast<std::size_t>((y / zoom) * side + x / zoom)];
            bitmap.data()[y * side * zoom + x] = 0xFF000000U | static_cast<std::uint32_t>(pixel[0]) << 16 |
                                                 static_cast<std::uint32_t>(pixel[1]) << 8 |
                                                 static_cast<std::uint32_t>(pixel[2]);
        }
    }
    EXPECT_TRUE(bitmap.writePNG(std::string(directory) + "/" + name + ".png"));
}

TEST_F(StatusBarControllerTest, TheRingStandsOutOnALightAndOnADarkPanelInEitherColouring) {
    AppState& appState = AppState::shared();
    // Two due journals, one written today: the ring has its track, its arc and its number.
    Journal done;
    done.id = 7;
    done.isDue = true;
    done.streakDate = foundation::Text(testsupport::todayText());
    Journal due;
    due.id = 8;
    due.isDue = true;
    User user;
    user.id = 1;
    user.username = "ann";
    user.journals = std::vector<Journal>{done, due};
    user.numberOfEntriesToday = 1;
    appState.user = user;
    const double side = appkit::StatusBar::system().thickness();
    // The pixels of the icon that stand out from the panel as large text must (3:1), pictured when
    // KESTROVA_PICTURES_DIR is set.
    const auto standingOut = [&](bool monochrome, const char* panelName, const PanelColour& panel) {
        appState.statusBarIconMonochrome = monochrome;
        const appkit::Pixmap image = statusBarIconImage(side, appState);
        const auto shown = onPanel(image, panel);
        writePicture(shown, image.width,
                     std::string("tray-") + (monochrome ? "monochrome" : "coloured") + "-on-" + panelName);
        return std::count_if(shown.begin(), shown.end(),
                             [&](const PanelColour& pixel) { return contrast(pixel, panel) >= 3; });
    };
    // A dark panel shows either colouring at least as well as a light one, where the black ring
    // has about the ring's length in pixels.
    for (const bool monochrome : {true, false}) {
        const auto onLight = standingOut(monochrome, "light", PanelColour{246, 245, 244});
        if (monochrome) {
            EXPECT_GE(onLight, 50);
        }
        for (const auto& [panelName, panel] :
             {std::pair{"black", PanelColour{0, 0, 0}}, std::pair{"dark grey", PanelColour{48, 48, 48}}}) {
            EXPECT_GE(standingOut(monochrome, panelName, panel), onLight)
                << (monochrome ? "monochrome" : "coloured") << " on " << panelName;
        }
    }
    appState.user = std::nullopt;
    sharedDefaults().removeObject("statusBarIconMonochrome");
}

TEST_F(StatusBarControllerTest, TheSettingAddsAFreshItemEachTimeItTurnsOnAndKeepsTheMenu) {
    StatusBarController controller;
    EXPECT_EQ(controller.statusItem(), nullptr);
    EXPECT_TRUE(statusLines().empty());

    AppState::shared().statusBarIcon = true;
    const auto first = controller.statusItem();
    ASSERT_NE(first, nullptr);
    const auto menu = first->button()->menu();
    AppState::shared().statusBarIcon = true;  // on again while on: nothing new
    AppState::shared().statusBarIcon = false;
    EXPECT_EQ(controller.statusItem(), nullptr);
    EXPECT_FALSE(first->isVisible());
    AppState::shared().statusBarIcon = false;  // off again while off: nothing to remove
    AppState::shared().statusBarIcon = true;
    const auto second = controller.statusItem();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->button()->menu(), menu);
    EXPECT_EQ(statusLines(), (Lines{"status item added", "status item removed", "status item added"}));
}

TEST_F(StatusBarControllerTest, ChoosingQuitTerminatesTheApplication) {
    AppState::shared().statusBarIcon = true;
    StatusBarController controller;
    controller.statusItemMenu()->items()[0]->performAction();
    EXPECT_EQ(headlessBackend().effects().linesStartingWith("application "), Lines{"application terminated"});
}

struct ClickCase {
    const char* name;
    appkit::EventType click;
    std::vector<std::pair<std::string, bool>> windowsFrontToBack;  // title, can become key
    Lines expected;
};

class StatusBarClickTest : public StatusBarControllerTest, public testing::WithParamInterface<ClickCase> {};

TEST_P(StatusBarClickTest, ALeftClickBringsTheFirstKeyCapableWindowForwardAndARightClickOpensTheMenu) {
    const ClickCase& c = GetParam();
    for (auto window = c.windowsFrontToBack.rbegin(); window != c.windowsFrontToBack.rend(); ++window) {
        headlessBackend().windowService().open(window->first, window->second);
    }
    AppState::shared().statusBarIcon = true;
    StatusBarController controller;
    headlessBackend().effects().clear();
    controller.statusItem()->button()->click(c.click);
    EXPECT_EQ(headlessBackend().effects().lines(), c.expected);
    EXPECT_FALSE(appkit::Application::shared().currentEvent().has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, StatusBarClickTest,
    testing::Values(
        ClickCase{"LeftSkipsAWindowThatCannotBecomeKey",
                  appkit::EventType::leftMouseUp,
                  {{"Panel", false}, {"Kestrova", true}, {"Other", true}},
                  {"application activated ignoring other apps", "window made key: Kestrova"}},
        ClickCase{"LeftWithoutWindowsOnlyActivates",
                  appkit::EventType::leftMouseUp,
                  {},
                  {"application activated ignoring other apps"}},
        ClickCase{"LeftWithNoKeyCapableWindowOnlyActivates",
                  appkit::EventType::leftMouseUp,
                  {{"Panel", false}},
                  {"application activated ignoring other apps"}},
        ClickCase{"RightOpensTheMenuOnly",
                  appkit::EventType::rightMouseUp,
                  {{"Kestrova", true}},
                  {"status menu popped up: Kestrova Status Item Menu"}}),
    [](const testing::TestParamInfo<ClickCase>& param) { return std::string(param.param.name); });

TEST_F(StatusBarControllerTest, AnActionCalledWithoutAnEventDoesNothing) {
    AppState::shared().statusBarIcon = true;
    StatusBarController controller;
    headlessBackend().windowService().open("Kestrova");
    headlessBackend().effects().clear();
    controller.onStatusBarClick(*controller.statusItem()->button());
    EXPECT_TRUE(headlessBackend().effects().lines().empty());
}

}  // namespace
}  // namespace kestrova
