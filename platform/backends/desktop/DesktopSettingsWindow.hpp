#pragma once

#include "platform/kits/scenes/App.hpp"
#include "platform/kits/scenes/SettingsWindow.hpp"

using GtkApplication = struct _GtkApplication;

namespace desktop {

class DesktopWindowRealizer;
class FocusTracker;

// The application's one Settings window, drawn in the window group's colour scheme and counted among
// the application's windows for the focus.
class DesktopSettingsWindow {
public:
    DesktopSettingsWindow(const ui::App& app, DesktopWindowRealizer& realizer, GtkApplication* gtk, FocusTracker& focus);

    // Opens the window, or brings it in front.
    void open();

private:
    static ui::SettingsScene inScheme(ui::SettingsScene scene, ui::ColorScheme scheme);

    ui::SettingsWindow window_;
    GtkApplication* gtk_;
    FocusTracker& focus_;
};

}  // namespace desktop
