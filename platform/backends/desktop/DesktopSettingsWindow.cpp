#include "platform/backends/desktop/DesktopSettingsWindow.hpp"

#include "platform/backends/desktop/DesktopWindowRealizer.hpp"
#include "platform/backends/desktop/FocusTracker.hpp"

#include <gtk/gtk.h>

namespace desktop {

DesktopSettingsWindow::DesktopSettingsWindow(const ui::App& app, DesktopWindowRealizer& realizer, GtkApplication* gtk,
                                             FocusTracker& focus)
    : window_(inScheme(app.settings, app.windowGroup.colorScheme), realizer), gtk_(gtk), focus_(focus) {}

void DesktopSettingsWindow::open() {
    const auto window = window_.open();
    GtkWidget* widget = DesktopWindowRealizer::widgetOf(*window);
    if (gtk_window_get_application(GTK_WINDOW(widget)) == nullptr) {
        gtk_application_add_window(gtk_, GTK_WINDOW(widget));
        g_signal_connect(widget, "notify::is-active", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer focus) {
                             static_cast<FocusTracker*>(focus)->activityChanged();
                         }),
                         &focus_);
    }
}

// The theme the application prefers is every window's: the Settings window's views draw in its colour
// scheme too.
ui::SettingsScene DesktopSettingsWindow::inScheme(ui::SettingsScene scene, ui::ColorScheme scheme) {
    scene.content = [content = std::move(scene.content), scheme] { return content().colorScheme(scheme); };
    return scene;
}

}  // namespace desktop
