#pragma once

#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/kits/scenes/Commands.hpp"
#include "platform/kits/scenes/WindowGroup.hpp"

#include <functional>
#include <string>
#include <vector>

namespace ui {

// The application as it declares itself: its scenes and the commands of its main menu.
struct App {
    // The desktop's application identifier, a D-Bus name: one instance runs per session under it.
    std::string identifier;
    std::string name;
    // The version of the build, as the About window shows it.
    std::string version;
    WindowGroup windowGroup;
    SettingsScene settings;
    // The command groups in their order, evaluated again when one of the sources changes or the
    // focus moves to another window.
    std::function<std::vector<CommandGroup>()> commands;
    std::vector<combine::ObservableObject*> commandSources;
};

}  // namespace ui
