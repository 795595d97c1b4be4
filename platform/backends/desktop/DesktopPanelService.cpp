#include "platform/backends/desktop/DesktopPanelService.hpp"

#include <gtk/gtk.h>

#include <cmath>
#include <memory>
#include <utility>

namespace desktop {
namespace {

GtkMessageType messageType(appkit::AlertStyle style) {
    switch (style) {
    case appkit::AlertStyle::warning:
        return GTK_MESSAGE_WARNING;
    case appkit::AlertStyle::informational:
        return GTK_MESSAGE_INFO;
    case appkit::AlertStyle::critical:
        return GTK_MESSAGE_ERROR;
    }
    return GTK_MESSAGE_OTHER;
}

template <typename Handler>
struct ChooserCall {
    GtkFileChooserNative* chooser;
    Handler completion;
};

}  // namespace

appkit::PanelService::AlertAnswer DesktopPanelService::runAlertModal(const AlertRequest& request) {
    auto* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, messageType(request.style), GTK_BUTTONS_NONE,
                                          "%s", request.messageText.c_str());
    if (!request.informativeText.empty()) {
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s", request.informativeText.c_str());
    }
    for (std::size_t index = 0; index < request.buttons.size(); ++index) {
        gtk_dialog_add_button(GTK_DIALOG(dialog), request.buttons[index].c_str(), static_cast<int>(index));
    }
    if (!request.buttons.empty()) {
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), 0);
    }
    GtkWidget* entry = nullptr;
    if (request.textField) {
        entry = gtk_entry_new();
        gtk_entry_set_text(GTK_ENTRY(entry), request.textField->initialText.c_str());
        gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
        gtk_widget_set_size_request(entry, static_cast<int>(std::lround(request.textField->width)),
                                    static_cast<int>(std::lround(request.textField->height)));
        gtk_box_pack_end(GTK_BOX(gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog))), entry, FALSE,
                         FALSE, 0);
        gtk_widget_show(entry);
    }
    const int response = gtk_dialog_run(GTK_DIALOG(dialog));
    AlertAnswer answer;
    answer.buttonIndex = response >= 0 ? response : -1;
    if (entry != nullptr) {
        answer.fieldText = gtk_entry_get_text(GTK_ENTRY(entry));
    }
    gtk_widget_destroy(dialog);
    return answer;
}

void DesktopPanelService::beginOpenPanel(const OpenPanelRequest& request, OpenPanelHandler completion) {
    const auto action = request.canChooseDirectories && !request.canChooseFiles ? GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER
                                                                                : GTK_FILE_CHOOSER_ACTION_OPEN;
    auto* chooser = gtk_file_chooser_native_new(nullptr, nullptr, action, nullptr, nullptr);
    gtk_file_chooser_set_select_multiple(GTK_FILE_CHOOSER(chooser), request.allowsMultipleSelection ? TRUE : FALSE);
    auto* call = new ChooserCall<OpenPanelHandler>{chooser, std::move(completion)};
    g_signal_connect(chooser, "response", G_CALLBACK(+[](GtkNativeDialog* dialog, int response, gpointer data) {
                         std::unique_ptr<ChooserCall<OpenPanelHandler>> owned(
                             static_cast<ChooserCall<OpenPanelHandler>*>(data));
                         std::optional<std::vector<foundation::URL>> chosen;
                         if (response == GTK_RESPONSE_ACCEPT) {
                             chosen.emplace();
                             GSList* files = gtk_file_chooser_get_filenames(GTK_FILE_CHOOSER(dialog));
                             for (GSList* item = files; item != nullptr; item = item->next) {
                                 chosen->push_back(foundation::URL::fileURL(static_cast<const char*>(item->data)));
                             }
                             g_slist_free_full(files, g_free);
                         }
                         auto handler = std::move(owned->completion);
                         g_clear_object(&owned->chooser);
                         handler(std::move(chosen));
                     }),
                     call);
    gtk_native_dialog_show(GTK_NATIVE_DIALOG(chooser));
}

void DesktopPanelService::beginSavePanel(const SavePanelRequest& request, SavePanelHandler completion) {
    auto* chooser = gtk_file_chooser_native_new(nullptr, nullptr, GTK_FILE_CHOOSER_ACTION_SAVE, nullptr, nullptr);
    gtk_file_chooser_set_create_folders(GTK_FILE_CHOOSER(chooser), request.canCreateDirectories ? TRUE : FALSE);
    gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(chooser), TRUE);
    if (request.directoryURL) {
        gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), request.directoryURL->path().c_str());
    }
    gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(chooser), request.nameFieldStringValue.c_str());
    auto* call = new ChooserCall<SavePanelHandler>{chooser, std::move(completion)};
    g_signal_connect(chooser, "response", G_CALLBACK(+[](GtkNativeDialog* dialog, int response, gpointer data) {
                         std::unique_ptr<ChooserCall<SavePanelHandler>> owned(
                             static_cast<ChooserCall<SavePanelHandler>*>(data));
                         std::optional<foundation::URL> chosen;
                         if (response == GTK_RESPONSE_ACCEPT) {
                             g_autofree char* path = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog));
                             if (path != nullptr) {
                                 chosen = foundation::URL::fileURL(path);
                             }
                         }
                         auto handler = std::move(owned->completion);
                         g_clear_object(&owned->chooser);
                         handler(std::move(chosen));
                     }),
                     call);
    gtk_native_dialog_show(GTK_NATIVE_DIALOG(chooser));
}

}  // namespace desktop
