#include "platform/backends/desktop/DesktopUpdaterUserDriver.hpp"

#include <gtk/gtk.h>

#include <memory>

namespace desktop {

namespace {

// A dialog that stays until answered, without blocking the main loop; `reply` hears whether the
// user accepted.
void showDialog(GtkMessageType type, const std::string& primary, const std::string& secondary,
                const char* acceptLabel, std::function<void(bool)> reply) {
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_DESTROY_WITH_PARENT, type, GTK_BUTTONS_NONE, "%s",
                                               primary.c_str());
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s", secondary.c_str());
    if (acceptLabel != nullptr) {
        gtk_dialog_add_button(GTK_DIALOG(dialog), "Later", GTK_RESPONSE_CANCEL);
        gtk_dialog_add_button(GTK_DIALOG(dialog), acceptLabel, GTK_RESPONSE_ACCEPT);
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    } else {
        gtk_dialog_add_button(GTK_DIALOG(dialog), "OK", GTK_RESPONSE_OK);
    }
    gtk_window_set_title(GTK_WINDOW(dialog), "Software Update");
    auto* handler = new std::function<void(bool)>(std::move(reply));
    g_signal_connect_data(
        dialog, "response",
        G_CALLBACK(+[](GtkDialog* self, gint response, gpointer data) {
            auto* answer = static_cast<std::function<void(bool)>*>(data);
            if (*answer) {
                (*answer)(response == GTK_RESPONSE_ACCEPT);
            }
            gtk_widget_destroy(GTK_WIDGET(self));
        }),
        handler, [](gpointer data, GClosure*) { delete static_cast<std::function<void(bool)>*>(data); },
        GConnectFlags{});
    gtk_widget_show_all(dialog);
}

}  // namespace

void DesktopUpdaterUserDriver::showUpToDate(const std::string& currentVersion) {
    showDialog(GTK_MESSAGE_INFO, "You're up to date!",
               "Kestrova " + currentVersion + " is currently the newest version available.", nullptr, {});
}

void DesktopUpdaterUserDriver::showUpdateFound(const updater::AppcastItem& item, std::function<void(bool)> reply) {
    showDialog(GTK_MESSAGE_INFO, "A new version of Kestrova is available!",
               "Kestrova " + item.displayVersion + " is now available.", "Open Download Page", std::move(reply));
}

void DesktopUpdaterUserDriver::showUpdaterError(const std::string& message) {
    showDialog(GTK_MESSAGE_ERROR, "Update Error!", message, nullptr, {});
}

}  // namespace desktop
