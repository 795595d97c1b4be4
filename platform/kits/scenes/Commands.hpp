#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace ui {

// A key that chooses a menu item together with the command modifier, which is Control here: "t" is
// Control-T. Letters are lower case; "+", "-" and "0" are the characters themselves.
struct KeyboardShortcut {
    std::string key;
    bool shift = false;

    friend bool operator==(const KeyboardShortcut&, const KeyboardShortcut&) = default;
};

// One item of the main menu, as the commands of the application declare it.
struct CommandButton {
    std::string title;
    std::function<void()> action;
    std::optional<KeyboardShortcut> shortcut;
    // A disabled item keeps its place; neither it nor its shortcut can be chosen.
    bool disabled = false;
};

struct CommandDivider {};

using CommandItem = std::variant<CommandButton, CommandDivider>;

// The places of the standard main menu that commands attach to.
enum class CommandGroupPlacement : std::uint8_t {
    appInfo,    // the application menu's About item
    appSettings,
    appTermination,
    newItem,    // File: the new-window items
    saveItem,
    undoRedo,   // Edit: undo and redo
    pasteboard, // Edit: cut, copy, paste and select all
    toolbar,    // View: the toolbar items
    sidebar,
    windowSize,
    help,       // the whole Help menu
};

enum class CommandGroupPosition : std::uint8_t { before, after, replacing };

// Items placed before or after one of the standard places, or in its stead.
struct CommandGroup {
    CommandGroupPosition position;
    CommandGroupPlacement placement;
    std::vector<CommandItem> items;
};

}  // namespace ui
