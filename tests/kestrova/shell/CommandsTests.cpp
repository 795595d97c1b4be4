#include "kestrova/shell/CheckForUpdatesView.hpp"
#include "kestrova/shell/HelpCommands.hpp"
#include "kestrova/shell/NewTabCommand.hpp"
#include "kestrova/shell/ReloadCommand.hpp"
#include "kestrova/shell/ZoomCommands.hpp"

#include "platform/kits/appkit/Application.hpp"
#include "platform/kits/appkit/WindowController.hpp"
#include "platform/runtime/foundation/core/URLComponents.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "platform/kits/scenes/FocusedValues.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <any>
#include <array>
#include <map>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using Lines = std::vector<std::string>;

headless::HeadlessBackend& headlessBackend() {
    return headless::HeadlessBackend::installed();
}

const ui::CommandButton& button(const ui::CommandGroup& group, std::size_t index) {
    return std::get<ui::CommandButton>(group.items.at(index));
}

struct Placement {
    ui::CommandGroupPosition position;
    ui::CommandGroupPlacement placement;
    friend bool operator==(const Placement&, const Placement&) = default;
};

Placement placementOf(const ui::CommandGroup& group) {
    return {group.position, group.placement};
}

// The zoom items as the menu shows them after each choice, over one stored value.
class ZoomCommandsTest : public testing::Test {
protected:
    [[nodiscard]] ZoomCommands commands() {
        return {ui::Binding<double>([this] { return zoom; }, [this](double value) { zoom = value; }), 2.0, 0.5};
    }
    void choose(std::size_t index) { button(commands().body(), index).action(); }
    [[nodiscard]] bool disabled(std::size_t index) { return button(commands().body(), index).disabled; }

    static constexpr std::size_t actualSize = 0;
    static constexpr std::size_t zoomIn = 1;
    static constexpr std::size_t zoomOut = 2;
    double zoom = 1.0;
};

TEST_F(ZoomCommandsTest, ThreeItemsAndADividerAfterTheToolbarItems) {
    const auto group = commands().body();
    EXPECT_EQ(placementOf(group), (Placement{ui::CommandGroupPosition::after, ui::CommandGroupPlacement::toolbar}));
    ASSERT_EQ(group.items.size(), 4u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Actual Size", "0"}, {"Zoom In", "+"}, {"Zoom Out", "-"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(button(group, i).title, expected[i].first);
        EXPECT_EQ(button(group, i).shortcut, (ui::KeyboardShortcut{.key = expected[i].second, .shift = false}));
    }
    EXPECT_TRUE(std::holds_alternative<ui::CommandDivider>(group.items[3]));
}

// Each case starts from a stored zoom, chooses the items in order, and ends with this zoom and these
// items disabled (Actual Size, Zoom In, Zoom Out).
TEST_F(ZoomCommandsTest, ChoicesStepByPlainSumsClampedToTheLimitsAndTheItemsFollowTheZoom) {
    struct Case {
        const char* name;
        double start;
        std::vector<std::size_t> choices;
        double end;
        std::array<bool, 3> disabledItems;
    };
    const auto times = [](std::size_t item, std::size_t count) { return std::vector<std::size_t>(count, item); };
    const std::vector<Case> cases = {
        {"at actual size", 1.0, {}, 1.0, {true, false, false}},
        {"in once", 1.0, {zoomIn}, 1.1, {false, false, false}},
        {"in and out again", 1.0, {zoomIn, zoomOut}, 1.0, {true, false, false}},
        {"back to actual size", 1.7, {actualSize}, 1.0, {true, false, false}},
        // The tenth sum is just above 2.0 and is clamped.
        {"ten in", 1.0, times(zoomIn, 10), 2.0, {false, true, false}},
        {"five out", 1.0, times(zoomOut, 5), 0.5000000000000001, {false, false, false}},
        {"six out", 1.0, times(zoomOut, 6), 0.5, {false, false, true}},
        // Written to the defaults from outside: it stays until an item is chosen.
        {"above the maximum", 2.5, {}, 2.5, {false, true, false}},
        {"out from above the maximum", 2.5, {zoomOut}, 2.4, {false, true, false}},
        {"below the minimum", 0.3, {}, 0.3, {false, false, true}},
        {"in from below the minimum", 0.3, {zoomIn}, 0.4, {false, false, true}},
    };
    for (const auto& c : cases) {
        zoom = c.start;
        for (const std::size_t item : c.choices) {
            ASSERT_FALSE(disabled(item)) << c.name;
            choose(item);
        }
        EXPECT_EQ(zoom, c.end) << c.name;
        EXPECT_EQ((std::array<bool, 3>{disabled(actualSize), disabled(zoomIn), disabled(zoomOut)}), c.disabledItems)
            << c.name;
    }
}

class ReloadCommandTest : public testing::Test {
protected:
    void TearDown() override { ui::FocusedValues::shared().replace({}); }
};

TEST_F(ReloadCommandTest, ReloadCallsTheFocusedWindowsActionAndWithoutOneDoesNothing) {
    const auto group = ReloadCommand().body();
    EXPECT_EQ(placementOf(group), (Placement{ui::CommandGroupPosition::before, ui::CommandGroupPlacement::toolbar}));
    ASSERT_EQ(group.items.size(), 1u);
    EXPECT_EQ(button(group, 0).title, "Reload");
    EXPECT_EQ(button(group, 0).shortcut, (ui::KeyboardShortcut{.key = "r", .shift = false}));
    EXPECT_FALSE(button(group, 0).disabled);
    EXPECT_FALSE(ReloadCommand().shouldReload().has_value());
    button(group, 0).action();

    int firstReloads = 0;
    int secondReloads = 0;
    ui::FocusedValues::shared().replace(
        {{"viewToReload", std::any(std::function<void()>([&] { ++firstReloads; }))}});
    button(ReloadCommand().body(), 0).action();
    // The focus moves to another window.
    ui::FocusedValues::shared().replace(
        {{"viewToReload", std::any(std::function<void()>([&] { ++secondReloads; }))}});
    button(ReloadCommand().body(), 0).action();
    button(ReloadCommand().body(), 0).action();
    EXPECT_EQ(firstReloads, 1);
    EXPECT_EQ(secondReloads, 2);

    // A value of another type is no reload action.
    ui::FocusedValues::shared().replace({{"viewToReload", std::any(7)}});
    EXPECT_FALSE(ReloadCommand().shouldReload().has_value());
    button(ReloadCommand().body(), 0).action();
}

// Opens a new window, which takes the focus, as the application's window group does; or, when
// `opens` is false, a controller whose new window never becomes key.
class TabOpeningController final : public appkit::WindowController {
public:
    TabOpeningController(std::string title, bool opens) : title_(std::move(title)), opens_(opens) {}
    void newWindowForTab() override {
        headlessBackend().effects().record("new window for tab asked");
        if (opens_) {
            headlessBackend().windowService().open(title_)->makeKeyAndOrderFront();
        }
    }

private:
    std::string title_;
    bool opens_;
};

class NewTabTest : public testing::Test {
protected:
    void SetUp() override {
        for (const auto& window : appkit::Application::shared().windows()) {
            window->close();
        }
        headlessBackend().effects().clear();
    }
    static void chooseNewTab() { button(NewTabCommand().body(), 0).action(); }
};

TEST_F(NewTabTest, NewTabIsControlTAfterTheNewWindowItems) {
    const auto group = NewTabCommand().body();
    EXPECT_EQ(placementOf(group), (Placement{ui::CommandGroupPosition::after, ui::CommandGroupPlacement::newItem}));
    ASSERT_EQ(group.items.size(), 1u);
    EXPECT_EQ(button(group, 0).title, "New Tab");
    EXPECT_EQ(button(group, 0).shortcut, (ui::KeyboardShortcut{.key = "t", .shift = false}));
}

TEST_F(NewTabTest, TheNewWindowBecomesATabAboveTheKeyWindow) {
    auto& windows = headlessBackend().windowService();
    windows.open("Kestrova", true, std::make_shared<TabOpeningController>("Kestrova 2", true))->makeKeyAndOrderFront();
    headlessBackend().effects().clear();
    chooseNewTab();
    EXPECT_EQ(headlessBackend().effects().lines(),
              (Lines{"new window for tab asked", "window made key: Kestrova 2", "window tab added: Kestrova 2 above Kestrova"}));
}

TEST_F(NewTabTest, NothingHappensWithoutAKeyWindowOrItsControllerOrANewKeyWindow) {
    auto& windows = headlessBackend().windowService();
    struct Case {
        const char* name;
        std::function<void()> arrange;
        Lines effects;
    };
    const std::vector<Case> cases = {
        {"no window", [] {}, {}},
        {"a window that is not key",
         [&] { windows.open("Kestrova", true, std::make_shared<TabOpeningController>("Kestrova 2", true)); },
         {}},
        {"a key window without a controller", [&] { windows.open("Kestrova")->makeKeyAndOrderFront(); }, {}},
        {"a controller whose window does not take the focus",
         [&] {
             windows.open("Kestrova", true, std::make_shared<TabOpeningController>("Kestrova 2", false))
                 ->makeKeyAndOrderFront();
         },
         {"new window for tab asked"}},
    };
    for (const auto& c : cases) {
        SetUp();
        c.arrange();
        headlessBackend().effects().clear();
        chooseNewTab();
        EXPECT_EQ(headlessBackend().effects().lines(), c.effects) << c.name;
    }
}

TEST(CheckForUpdatesViewTest, TheItemFollowsWhetherTheUpdaterCanBeginACheck) {
    constexpr const char* upToDateFeed =
        R"(<rss><channel><item><sparkle:version>0.0.1</sparkle:version><enclosure url="https://kestrova.example/old.tar.gz"/></item></channel></rss>)";
    testsupport::LoopbackServer server;
    server.reply("GET", "/appcast.xml", {.status = 200, .body = upToDateFeed});
    UpdaterViewModel model({foundation::URL::fromString(server.url("/appcast.xml")), std::chrono::hours(24), "1.0"});
    const CheckForUpdatesView view{model};

    const auto before = view.body();
    EXPECT_EQ(placementOf(before), (Placement{ui::CommandGroupPosition::after, ui::CommandGroupPlacement::appInfo}));
    ASSERT_EQ(before.items.size(), 1u);
    EXPECT_EQ(button(before, 0).title, "Check for Updates\xE2\x80\xA6");
    EXPECT_FALSE(button(before, 0).shortcut.has_value());
    EXPECT_TRUE(button(before, 0).disabled) << "the check at start is running";

    ASSERT_TRUE(testsupport::MainLoop::iterateUntil([&] { return model.canCheckForUpdates.get(); }));
    const auto ready = view.body();
    EXPECT_FALSE(button(ready, 0).disabled);
    button(ready, 0).action();
    EXPECT_TRUE(button(view.body(), 0).disabled) << "the check the item began is running";
    ASSERT_TRUE(testsupport::MainLoop::iterateUntil([&] { return !button(view.body(), 0).disabled; }));
}

TEST(HelpCommandsTest, TheHelpMenuIsTheTwoPagesOpenedInTheApplication) {
    const auto group = HelpCommands().body();
    EXPECT_EQ(placementOf(group), (Placement{ui::CommandGroupPosition::replacing, ui::CommandGroupPlacement::help}));
    ASSERT_EQ(group.items.size(), 2u);
    const std::vector<std::pair<std::string, std::string>> expected = {{"Requests and Bugs", KESTROVA_REQUESTS_URL},
                                                                       {"macOS Meta", KESTROVA_META_URL}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& item = button(group, i);
        EXPECT_EQ(item.title, expected[i].first);
        EXPECT_FALSE(item.shortcut.has_value());
        headlessBackend().effects().clear();
        item.action();
        const auto lines = headlessBackend().effects().lines();
        ASSERT_EQ(lines.size(), 1u);
        const auto link = foundation::URLComponents::fromString(lines[0].substr(std::string("workspace opened: ").size()));
        ASSERT_TRUE(link.has_value()) << lines[0];
        EXPECT_EQ(link->path(), "/open");
        EXPECT_EQ(link->queryItems(), (std::vector<foundation::URLQueryItem>{{"url", expected[i].second}}));
    }
}

}  // namespace
}  // namespace kestrova
