#pragma once

#include "platform/kits/scenes/App.hpp"
#include "platform/kits/scenes/CommandCenter.hpp"
#include "platform/kits/scenes/MainMenu.hpp"

#include <string>
#include <vector>

using GtkApplication = struct _GtkApplication;

namespace desktop {

// The application's menu bar, built from the main menu with the application's commands: an action
// for each command, enabled while its condition holds, and the accelerators of every item. Follows
// the commands as they change while it lives.
class MenuBar {
public:
    MenuBar(GtkApplication* gtk, const ui::App& app);
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

private:
    [[nodiscard]] std::vector<ui::MainMenuMenu> menus() const;
    // Builds the menu bar anew when its items changed, and brings every command's enabled state in
    // line with its condition.
    void refresh();
    void updateCommandAction(const ui::MainMenuItem& item);
    // Runs the command as it stands now, unless it was disabled meanwhile.
    void perform(const std::string& name);

    GtkApplication* gtk_;
    const ui::App& app_;
    ui::CommandCenter commands_;
    std::vector<std::string> commandActions_;  // the actions made for the commands, which go with this
    std::string shape_;                        // the titles and actions of the menu bar shown
};

}  // namespace desktop
