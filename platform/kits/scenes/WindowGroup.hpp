#pragma once

#include "platform/kits/ui/Color.hpp"
#include "platform/kits/ui/ColorScheme.hpp"
#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/scenes/SceneContent.hpp"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace ui {

// The application's main windows: each window, and each tab of a window, is one instance of the
// content with its own state.
struct WindowGroup {
    // Given the values the window kept at its last launch (none for a new window).
    std::function<std::unique_ptr<SceneContent>(const std::map<std::string, std::string>& restored)> content;
    Size minimumSize;
    Size idealSize;  // the size a new window opens at
    ColorScheme colorScheme = ColorScheme::dark;
    Color background = Color::black();
    // Whether the title bar shows the window's title.
    bool showsTitle = false;
};

// The one Settings window, which the application menu's settings item opens.
struct SettingsScene {
    std::function<View()> content;
    Size size;
    std::string title = "Settings";
};

}  // namespace ui
