#include "platform/backends/desktop/EditingActions.hpp"

#include "platform/backends/desktop/internal/ApplicationAction.hpp"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <string>

namespace desktop {
namespace {

constexpr const char* commandKey = "kestrova-editing";

void edit(GtkApplication* gtk, const char* name) {
    GtkWindow* window = gtk_application_get_active_window(gtk);
    GtkWidget* focused = window ? gtk_window_get_focus(window) : nullptr;
    if (focused == nullptr) {
        return;
    }
    GAction* action = g_action_map_lookup_action(G_ACTION_MAP(gtk), name);
    const auto* command = static_cast<const char*>(g_object_get_data(G_OBJECT(action), commandKey));
    if (WEBKIT_IS_WEB_VIEW(focused)) {
        webkit_web_view_execute_editing_command(WEBKIT_WEB_VIEW(focused), command);
        return;
    }
    const std::string standard(name);
    const std::string signal = standard == "select-all" ? "" : standard + "-clipboard";
    if (GTK_IS_EDITABLE(focused) && standard == "select-all") {
        gtk_editable_select_region(GTK_EDITABLE(focused), 0, -1);
    } else if (!signal.empty() && g_signal_lookup(signal.c_str(), G_OBJECT_TYPE(focused)) != 0) {
        g_signal_emit_by_name(focused, signal.c_str());
    }
}

}  // namespace

void addEditingActions(GtkApplication* gtk) {
    static const std::pair<const char*, const char*> editing[] = {
        {"undo", WEBKIT_EDITING_COMMAND_UNDO}, {"redo", WEBKIT_EDITING_COMMAND_REDO},
        {"cut", WEBKIT_EDITING_COMMAND_CUT},   {"copy", WEBKIT_EDITING_COMMAND_COPY},
        {"paste", WEBKIT_EDITING_COMMAND_PASTE}, {"select-all", WEBKIT_EDITING_COMMAND_SELECT_ALL}};
    for (const auto& [name, command] : editing) {
        GSimpleAction* action = addApplicationAction(G_ACTION_MAP(gtk), name, G_CALLBACK(+[](GSimpleAction* performed, GVariant*, gpointer application) {
                                                         edit(static_cast<GtkApplication*>(application), g_action_get_name(G_ACTION(performed)));
                                                     }),
                                                     gtk);
        g_object_set_data(G_OBJECT(action), commandKey, const_cast<char*>(command));
    }
}

}  // namespace desktop
