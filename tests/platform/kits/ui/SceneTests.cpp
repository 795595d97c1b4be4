// The toolkit-free half of the application's scenes: the windows kept across launches, the main
// menu made from the application's commands, commands that follow their conditions, and the one
// Settings window.
#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/combine/Published.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "platform/kits/scenes/CommandCenter.hpp"
#include "platform/kits/scenes/FocusedValues.hpp"
#include "platform/kits/scenes/MainMenu.hpp"
#include "platform/kits/scenes/SceneStore.hpp"
#include "platform/kits/scenes/SettingsWindow.hpp"
#include "platform/kits/ui/TextView.hpp"
#include "tests/support/CapturedOutput.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testsupport::MainLoop;
using testsupport::ScratchDirectory;

TEST(SceneStoreTest, KeepsEveryWindowWithItsValuesInOrder) {
    const ScratchDirectory scratch;
    const ui::SceneStore store(scratch / "state" / "scenes");
    const std::vector<ui::StoredScene> scenes{
        {"B6F0E1C2-0000-4000-8000-000000000002", {{"url", "https://kestrova.example/ann/daily?x=1&y=[2]"}}},
        {"0A1B2C3D-0000-4000-8000-000000000001", {}},
        {"FFFF0000-0000-4000-8000-000000000003", {{"url", "https://kestrova.example/home"}, {"note", "a = b\nc; #d"}}},
    };
    store.save(scenes);
    EXPECT_EQ(store.load(), scenes);

    // Closing every window leaves nothing to restore, without a complaint.
    store.save({});
    const testsupport::CapturedOutput errors(STDERR_FILENO);
    EXPECT_TRUE(store.load().empty());
    EXPECT_EQ(errors.text(), "");
}

TEST(SceneStoreTest, AMissingFileRestoresNothingQuietlyAndADamagedOneKeepsItsWholeWindowsAndSaysSoOnce) {
    const ScratchDirectory scratch;
    {
        const testsupport::CapturedOutput errors(STDERR_FILENO);
        EXPECT_TRUE(ui::SceneStore(scratch / "missing").load().empty());
        // The first launch has no file: nothing is wrong.
        EXPECT_EQ(errors.text(), "");
    }
    const auto window = [](int number) {
        return "[W" + std::to_string(number) + "]\nopen=true\nvalue.url=https://kestrova.example/" + std::to_string(number) +
               "\n";
    };
    std::string many;
    for (int number = 1; number <= 40; ++number) {
        many += window(number);
    }
    struct Case {
        const char* name;
        std::string contents;
        std::vector<std::string> restored;  // identities, in order
        std::string said;                   // after "<file>: "
    };
    const std::vector<Case> cases = {
        {"damaged whole", "[scene\nvalue.url=https://x\n\x01\x02 not a key file", {}, "1 damaged window not restored"},
        {"one damaged group among whole ones", "# kept windows\n" + window(1) + "[broken\nvalue.url=x\n" + window(2),
         {"W1", "W2"}, "1 damaged window not restored"},
        {"more windows than come back", many, {}, "8 windows beyond the first 32 not restored"},
        {"far too large", window(1) + "value.pad=" + std::string(1024 * 1024, 'x') + "\n", {},
         "no windows restored: the file is larger than 1024 KiB"},
    };
    for (const auto& c : cases) {
        const auto file = scratch.write(c.name, c.contents);
        const testsupport::CapturedOutput errors(STDERR_FILENO);
        const auto scenes = ui::SceneStore(file).load();
        std::vector<std::string> identities;
        for (const auto& scene : scenes) {
            identities.push_back(scene.identity);
        }
        if (std::string(c.name) == "more windows than come back") {
            ASSERT_EQ(scenes.size(), ui::SceneStore::mostScenes) << c.name;
            EXPECT_EQ(scenes.front().identity, "W1") << c.name;
            EXPECT_EQ(scenes.back().values.at("url"), "https://kestrova.example/32") << c.name;
        } else {
            EXPECT_EQ(identities, c.restored) << c.name;
        }
        EXPECT_EQ(errors.text(), file.string() + ": " + c.said + "\n") << c.name;
    }
}

TEST(SceneStoreTest, TheDefaultFileIsInTheUsersStateDirectory) {
    const char* saved = std::getenv("XDG_STATE_HOME");
    const std::string previous = saved ? saved : "";
    setenv("XDG_STATE_HOME", "/tmp/state-home", 1);
    EXPECT_EQ(ui::SceneStore::defaultFile("kestrova"), "/tmp/state-home/kestrova/scenes");
    // A relative value is not a base directory.
    setenv("XDG_STATE_HOME", "relative", 1);
    EXPECT_EQ(ui::SceneStore::defaultFile("kestrova"), std::filesystem::path(std::getenv("HOME")) / ".local/state/kestrova/scenes");
    if (saved) {
        setenv("XDG_STATE_HOME", previous.c_str(), 1);
    } else {
        unsetenv("XDG_STATE_HOME");
    }
}

ui::CommandButton button(std::string title, std::optional<ui::KeyboardShortcut> shortcut = std::nullopt, bool disabled = false) {
    return ui::CommandButton{std::move(title), [] {}, std::move(shortcut), disabled};
}

// Each menu as "title: item|item / item" with sections separated by " / ".
std::vector<std::string> outline(const std::vector<ui::MainMenuMenu>& menus) {
    std::vector<std::string> lines;
    for (const auto& menu : menus) {
        std::string line = menu.title + ":";
        for (std::size_t section = 0; section < menu.sections.size(); ++section) {
            line += section == 0 ? " " : " / ";
            for (std::size_t item = 0; item < menu.sections[section].size(); ++item) {
                line += (item == 0 ? "" : "|") + menu.sections[section][item].title;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<ui::CommandGroup> applicationCommands() {
    using ui::CommandGroupPlacement;
    using ui::CommandGroupPosition;
    return {
        {CommandGroupPosition::after, CommandGroupPlacement::appInfo, {button("Check for Updates…")}},
        {CommandGroupPosition::after, CommandGroupPlacement::newItem, {button("New Tab", ui::KeyboardShortcut{"t"})}},
        {CommandGroupPosition::replacing, CommandGroupPlacement::help, {button("Requests and Bugs"), button("macOS Meta")}},
        {CommandGroupPosition::after, CommandGroupPlacement::toolbar,
         {button("Actual Size", ui::KeyboardShortcut{"0"}, true), button("Zoom In", ui::KeyboardShortcut{"+"}),
          button("Zoom Out", ui::KeyboardShortcut{"-"}), ui::CommandDivider{}}},
        {CommandGroupPosition::before, CommandGroupPlacement::toolbar, {button("Reload", ui::KeyboardShortcut{"r"})}},
    };
}

TEST(MainMenuTest, PlacesEachGroupBeforeAfterOrInsteadOfItsStandardPlace) {
    const auto menus = ui::buildMainMenu("Kestrova", applicationCommands());
    EXPECT_THAT(outline(menus),
                ElementsAre("Kestrova: About Kestrova / Check for Updates… / Settings… / Quit Kestrova",
                            "File: New Window / New Tab / Close",
                            "Edit: Undo|Redo / Cut|Copy|Paste|Select All",
                            "View: Reload / Actual Size|Zoom In|Zoom Out",
                            "Window: Minimize",
                            "Help: Requests and Bugs|macOS Meta"));
}

TEST(MainMenuTest, AMenuLeftWithNoItemIsLeftOut) {
    EXPECT_THAT(outline(ui::buildMainMenu("Kestrova", {})),
                ElementsAre("Kestrova: About Kestrova / Settings… / Quit Kestrova", "File: New Window / Close",
                            "Edit: Undo|Redo / Cut|Copy|Paste|Select All", "Window: Minimize"));
}

TEST(MainMenuTest, CommandItemsCarryTheirActionAcceleratorsAndState) {
    const auto menus = ui::buildMainMenu("Kestrova", applicationCommands());
    const auto& view = menus[3].sections[1];
    ASSERT_EQ(view.size(), 3U);
    EXPECT_EQ(view[0].action, "command-3-0");
    EXPECT_FALSE(view[0].enabled);
    EXPECT_THAT(view[0].accelerators, ElementsAre("<Control>0"));
    EXPECT_TRUE(view[1].enabled);
    EXPECT_THAT(view[1].accelerators, ElementsAre("<Control>plus", "<Control>equal"));
    EXPECT_THAT(view[2].accelerators, ElementsAre("<Control>minus"));
    EXPECT_THAT(menus[1].sections[1][0].accelerators, ElementsAre("<Control>t"));
    EXPECT_THAT(menus[0].sections[2][0].accelerators, ElementsAre("<Control>comma"));
    EXPECT_THAT(ui::acceleratorsOf(ui::KeyboardShortcut{"z", true}), ElementsAre("<Control><Shift>z"));
}

class Zoom final : public combine::ObservableObject {
public:
    combine::Published<double> pageZoom{*this, 1.0};
};

TEST(CommandCenterTest, ReevaluatesAfterTheObjectsItReadsChangeAndTheFocusMoves) {
    Zoom zoom;
    ui::CommandCenter center([&zoom] {
        const auto reload = ui::FocusedValues::shared().value<std::function<void()>>("viewToReload");
        return std::vector<ui::CommandGroup>{{ui::CommandGroupPosition::after, ui::CommandGroupPlacement::toolbar,
                                              {button("Actual Size", std::nullopt, zoom.pageZoom.get() == 1.0),
                                               button("Reload", std::nullopt, !reload.has_value())}}};
    });
    center.observe(zoom);
    int changes = 0;
    center.onChange([&changes] { ++changes; });
    const auto disabled = [&center](std::size_t item) { return std::get<ui::CommandButton>(center.groups()[0].items[item]).disabled; };
    EXPECT_TRUE(disabled(0));

    zoom.pageZoom = 1.1;
    // Told before the write: the new state shows once the main loop has turned.
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return changes == 1; }));
    EXPECT_FALSE(disabled(0));
    zoom.pageZoom = 1.0;
    zoom.pageZoom = 1.0;
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return changes == 2; }));
    EXPECT_TRUE(disabled(0));

    EXPECT_TRUE(disabled(1));
    ui::FocusedValues::shared().replace({{"viewToReload", std::function<void()>([] {})}});
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return changes == 3; }));
    EXPECT_FALSE(disabled(1));
    ui::FocusedValues::shared().replace({});
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return changes == 4; }));
    EXPECT_TRUE(disabled(1));
}

TEST(SettingsWindowTest, OpeningTwiceBringsTheSameWindowForwardAndAfterClosingOpensAnew) {
    auto& realizer = headless::HeadlessBackend::installed().windowRealizer();
    const auto before = realizer.windows().size();
    ui::SettingsWindow settings(ui::SettingsScene{[] { return ui::View(ui::Text("General")); }, {375, 150}, "Settings"}, realizer);
    const auto first = settings.open();
    const auto second = settings.open();
    EXPECT_EQ(first, second);
    EXPECT_EQ(realizer.windows().size(), before + 1);

    first->close();
    const auto third = settings.open();
    EXPECT_NE(third, first);
    EXPECT_TRUE(third->isOpen());
    EXPECT_EQ(realizer.windows().size(), before + 1);
    third->close();
}

}  // namespace
