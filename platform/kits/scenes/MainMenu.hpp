#pragma once

#include "platform/kits/scenes/Commands.hpp"

#include <functional>
#include <string>
#include <vector>

namespace ui {

// One item of the main menu as the desktop shows it: the application's own command buttons carry
// their action; the standard items name the action that whoever shows the menu performs ("about",
// "settings", "quit", "new-window", "close", "undo", "redo", "cut", "copy", "paste", "select-all",
// "minimize").
struct MainMenuItem {
    std::string title;
    std::string action;  // "command-<group>-<item>" for a command button, else a standard name
    // Toolkit accelerators, the first one shown beside the title: "<Control>t".
    std::vector<std::string> accelerators;
    bool enabled = true;
    std::function<void()> perform;  // empty for a standard item
};

// The items between two separators.
using MainMenuSection = std::vector<MainMenuItem>;

struct MainMenuMenu {
    std::string title;
    std::vector<MainMenuSection> sections;
};

// The standard menus (the application menu, File, Edit, View, Window, Help) with the application's
// command groups placed before, after or in the stead of their standard places, each group a
// section of its own and dividers splitting sections. A menu left with no item is left out.
[[nodiscard]] std::vector<MainMenuMenu> buildMainMenu(const std::string& applicationName, const std::vector<CommandGroup>& groups);

// The accelerators of a shortcut: the command modifier is Control; "+" answers with and without
// Shift, so "=" chooses it too.
[[nodiscard]] std::vector<std::string> acceleratorsOf(const KeyboardShortcut& shortcut);

}  // namespace ui
