#include "platform/backends/desktop/WindowCascade.hpp"

#include <gtk/gtk.h>

namespace desktop {

WindowCascade::Position WindowCascade::after(Position key, int step, int width, int height, const Frame& workArea) {
    Position position{key.x + step, key.y + step};
    if (position.x + width > workArea.x + workArea.width) {
        position.x = workArea.x;
    }
    if (position.y + height > workArea.y + workArea.height) {
        position.y = workArea.y;
    }
    return position;
}

void WindowCascade::place(GtkWindow* window, GtkWindow* key) {
    Position origin;
    gtk_window_get_position(key, &origin.x, &origin.y);
    GtkWidget* titlebar = gtk_window_get_titlebar(key);
    const int step = titlebar != nullptr ? gtk_widget_get_allocated_height(titlebar) : 0;
    int width = 0;
    int height = 0;
    gtk_window_get_default_size(window, &width, &height);
    GdkRectangle area{0, 0, 0, 0};
    GdkDisplay* display = gtk_widget_get_display(GTK_WIDGET(key));
    GdkWindow* shown = gtk_widget_get_window(GTK_WIDGET(key));
    if (GdkMonitor* monitor = shown != nullptr ? gdk_display_get_monitor_at_window(display, shown) : gdk_display_get_primary_monitor(display)) {
        gdk_monitor_get_workarea(monitor, &area);
    }
    const Position position = after(origin, step, width, height, {area.x, area.y, area.width, area.height});
    gtk_window_move(window, position.x, position.y);
}

}  // namespace desktop
