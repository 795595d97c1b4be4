#include "platform/kits/scenes/MainMenu.hpp"

#include <map>
#include <utility>

namespace ui {
namespace {

struct Place {
    std::size_t menu;
    CommandGroupPlacement placement;
    MainMenuSection standard;
};

MainMenuItem standardItem(std::string title, std::string action, std::vector<std::string> accelerators = {}) {
    return MainMenuItem{std::move(title), std::move(action), std::move(accelerators), true, {}};
}

// Each placed group's buttons become a run of sections: a divider starts a new one.
std::vector<MainMenuSection> sectionsOf(const CommandGroup& group, std::size_t groupIndex) {
    std::vector<MainMenuSection> sections(1);
    for (std::size_t index = 0; index < group.items.size(); ++index) {
        if (const auto* button = std::get_if<CommandButton>(&group.items[index])) {
            sections.back().push_back(MainMenuItem{
                button->title, "command-" + std::to_string(groupIndex) + "-" + std::to_string(index),
                button->shortcut ? acceleratorsOf(*button->shortcut) : std::vector<std::string>{}, !button->disabled,
                button->action});
        } else {
            sections.emplace_back();
        }
    }
    std::erase_if(sections, [](const MainMenuSection& section) { return section.empty(); });
    return sections;
}

}  // namespace

std::vector<std::string> acceleratorsOf(const KeyboardShortcut& shortcut) {
    static const std::map<std::string, std::string, std::less<>> names{
        {"+", "plus"}, {"-", "minus"}, {"=", "equal"}, {",", "comma"}, {".", "period"}, {"/", "slash"}};
    const auto name = [](const std::string& key) {
        const auto found = names.find(key);
        return found == names.end() ? key : found->second;
    };
    const std::string modifiers = shortcut.shift ? "<Control><Shift>" : "<Control>";
    std::vector<std::string> accelerators{modifiers + name(shortcut.key)};
    if (shortcut.key == "+" && !shortcut.shift) {
        // "+" is Shift-"=" on most keyboards: Control-"=" zooms in as well.
        accelerators.push_back(modifiers + name("="));
    }
    return accelerators;
}

std::vector<MainMenuMenu> buildMainMenu(const std::string& applicationName, const std::vector<CommandGroup>& groups) {
    std::vector<MainMenuMenu> menus{{applicationName, {}}, {"File", {}}, {"Edit", {}},
                                    {"View", {}},          {"Window", {}}, {"Help", {}}};
    // The standard places in the order the menus show them.
    const std::vector<Place> places{
        {0, CommandGroupPlacement::appInfo, {standardItem("About " + applicationName, "about")}},
        {0, CommandGroupPlacement::appSettings, {standardItem("Settings…", "settings", {"<Control>comma"})}},
        {0, CommandGroupPlacement::appTermination, {standardItem("Quit " + applicationName, "quit", {"<Control>q"})}},
        {1, CommandGroupPlacement::newItem, {standardItem("New Window", "new-window", {"<Control>n"})}},
        {1, CommandGroupPlacement::saveItem, {standardItem("Close", "close", {"<Control>w"})}},
        {2, CommandGroupPlacement::undoRedo,
         {standardItem("Undo", "undo", {"<Control>z"}), standardItem("Redo", "redo", {"<Control><Shift>z"})}},
        {2, CommandGroupPlacement::pasteboard,
         {standardItem("Cut", "cut", {"<Control>x"}), standardItem("Copy", "copy", {"<Control>c"}),
          standardItem("Paste", "paste", {"<Control>v"}), standardItem("Select All", "select-all", {"<Control>a"})}},
        {3, CommandGroupPlacement::toolbar, {}},
        {3, CommandGroupPlacement::sidebar, {}},
        {4, CommandGroupPlacement::windowSize, {standardItem("Minimize", "minimize", {"<Control>m"})}},
        // This desktop has no help viewer: the Help menu holds what the application places there.
        {5, CommandGroupPlacement::help, {}},
    };
    for (const Place& place : places) {
        std::vector<MainMenuSection> before;
        std::vector<MainMenuSection> after;
        bool replaced = false;
        for (std::size_t index = 0; index < groups.size(); ++index) {
            const CommandGroup& group = groups[index];
            if (group.placement != place.placement) {
                continue;
            }
            auto sections = sectionsOf(group, index);
            auto& target = group.position == CommandGroupPosition::before ? before : after;
            target.insert(target.end(), sections.begin(), sections.end());
            replaced = replaced || group.position == CommandGroupPosition::replacing;
        }
        auto& sections = menus[place.menu].sections;
        sections.insert(sections.end(), before.begin(), before.end());
        if (!replaced && !place.standard.empty()) {
            sections.push_back(place.standard);
        }
        sections.insert(sections.end(), after.begin(), after.end());
    }
    std::erase_if(menus, [](const MainMenuMenu& menu) { return menu.sections.empty(); });
    return menus;
}

}  // namespace ui
