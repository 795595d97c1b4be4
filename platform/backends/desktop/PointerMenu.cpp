#include "platform/backends/desktop/PointerMenu.hpp"

#include <gtk/gtk.h>

#include <memory>

namespace desktop {
namespace {

using WeakItem = std::weak_ptr<appkit::MenuItem>;

void onEntryActivated(GtkMenuItem* /*entry*/, gpointer data) {
    // The item may have left the menu while it was open: then nothing happens.
    if (const auto item = static_cast<WeakItem*>(data)->lock()) {
        item->performAction();
    }
}

GtkWidget* entryFor(const std::shared_ptr<appkit::MenuItem>& item) {
    GtkWidget* entry = gtk_menu_item_new_with_label(item->title().c_str());
    gtk_widget_set_sensitive(entry, item->isEnabled() ? TRUE : FALSE);
    if (!item->keyEquivalent().empty()) {
        // Shown only: the command modifier is Control on this desktop.
        const guint key = gdk_unicode_to_keyval(g_utf8_get_char(item->keyEquivalent().c_str()));
        gtk_accel_label_set_accel(GTK_ACCEL_LABEL(gtk_bin_get_child(GTK_BIN(entry))), key, GDK_CONTROL_MASK);
    }
    g_signal_connect_data(entry, "activate", G_CALLBACK(onEntryActivated), new WeakItem(item),
                          [](gpointer data, GClosure*) { delete static_cast<WeakItem*>(data); }, GConnectFlags{});
    return entry;
}

// Destroys the menu once it closed, after the main loop turned: a chosen entry is activated only
// after its menu has closed. The menu is let go once however often it says it closed.
void onMenuClosed(GtkMenuShell* shell, gpointer) {
    g_signal_handlers_disconnect_by_func(shell, reinterpret_cast<gpointer>(&onMenuClosed), nullptr);
    g_idle_add_full(
        G_PRIORITY_DEFAULT_IDLE,
        [](gpointer data) -> gboolean {
            gtk_widget_destroy(GTK_WIDGET(data));
            return G_SOURCE_REMOVE;
        },
        shell, g_object_unref);
}

}  // namespace

void popUpMenuAtPointer(const appkit::Menu& menu) {
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr) {
        return;
    }
    GtkWidget* popup = gtk_menu_new();
    g_object_ref_sink(popup);
    for (const auto& item : menu.items()) {
        gtk_menu_shell_append(GTK_MENU_SHELL(popup), entryFor(item));
    }
    gtk_widget_show_all(popup);
    g_signal_connect(popup, "deactivate", G_CALLBACK(onMenuClosed), nullptr);
    // The panel's request came without the right click's input event, which places the menu and
    // lends it the pointer: a release of the right button where the pointer is stands for it.
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(display));
    GdkScreen* screen = nullptr;
    GdkRectangle position{0, 0, 1, 1};
    gdk_device_get_position(pointer, &screen, &position.x, &position.y);
    GdkWindow* root = gdk_screen_get_root_window(screen);
    GdkEvent* click = gdk_event_new(GDK_BUTTON_RELEASE);
    click->button.window = GDK_WINDOW(g_object_ref(root));
    click->button.button = GDK_BUTTON_SECONDARY;
    click->button.time = GDK_CURRENT_TIME;
    click->button.x_root = click->button.x = position.x;
    click->button.y_root = click->button.y = position.y;
    gdk_event_set_device(click, pointer);
    gtk_menu_popup_at_rect(GTK_MENU(popup), root, &position, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST, click);
    gdk_event_free(click);
}

}  // namespace desktop
