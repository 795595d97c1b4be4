#pragma once

#include <gio/gio.h>

namespace desktop {

// Adds an action under `name` to `map`, which keeps it; `activate` is called with `data`. The action,
// owned by the map, for the caller to enable or annotate.
inline GSimpleAction* addApplicationAction(GActionMap* map, const char* name, GCallback activate, gpointer data,
                                           const GVariantType* parameter = nullptr) {
    g_autoptr(GSimpleAction) action = g_simple_action_new(name, parameter);
    g_signal_connect(action, "activate", activate, data);
    g_action_map_add_action(map, G_ACTION(action));
    return action;
}

}  // namespace desktop
