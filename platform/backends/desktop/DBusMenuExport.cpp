#include "platform/backends/desktop/DBusMenuExport.hpp"

#include <libdbusmenu-glib/menuitem.h>
#include <libdbusmenu-glib/server.h>

// The library declares no automatic cleanup of its own.
G_DEFINE_AUTOPTR_CLEANUP_FUNC(DbusmenuMenuitem, g_object_unref)

namespace desktop {

namespace {

void deleteWeakItem(gpointer data) {
    delete static_cast<std::weak_ptr<appkit::MenuItem>*>(data);
}

void onItemActivated(DbusmenuMenuitem* /*entry*/, guint /*timestamp*/, gpointer data) {
    // The item may have left the menu since the panel last read it: then nothing happens.
    if (const auto item = static_cast<std::weak_ptr<appkit::MenuItem>*>(data)->lock()) {
        item->performAction();
    }
}

}  // namespace

DBusMenuExport::DBusMenuExport(std::string objectPath, std::shared_ptr<appkit::Menu> menu)
    : objectPath_(std::move(objectPath)), menu_(std::move(menu)), server_(dbusmenu_server_new(objectPath_.c_str())) {
    rebuild();
    listener_ = menu_->addChangeListener([this] { scheduleRebuild(); });
}

DBusMenuExport::~DBusMenuExport() {
    menu_->removeChangeListener(listener_);
    if (pendingRebuild_ != 0) {
        g_source_remove(pendingRebuild_);
    }
    g_clear_object(&server_);
}

void DBusMenuExport::scheduleRebuild() {
    // Coalesced, and never inside an item's own activation: the action that changes the menu may run
    // from the old item's signal.
    if (pendingRebuild_ != 0) {
        return;
    }
    pendingRebuild_ = g_idle_add(
        [](gpointer data) -> gboolean {
            auto* self = static_cast<DBusMenuExport*>(data);
            self->pendingRebuild_ = 0;
            self->rebuild();
            return G_SOURCE_REMOVE;
        },
        this);
}

void DBusMenuExport::rebuild() {
    g_autoptr(DbusmenuMenuitem) root = dbusmenu_menuitem_new();
    dbusmenu_menuitem_property_set(root, DBUSMENU_MENUITEM_PROP_LABEL, menu_->title().c_str());
    for (const auto& item : menu_->items()) {
        g_autoptr(DbusmenuMenuitem) entry = dbusmenu_menuitem_new();
        dbusmenu_menuitem_property_set(entry, DBUSMENU_MENUITEM_PROP_LABEL, item->title().c_str());
        dbusmenu_menuitem_property_set_bool(entry, DBUSMENU_MENUITEM_PROP_ENABLED, item->isEnabled() ? TRUE : FALSE);
        if (!item->keyEquivalent().empty()) {
            // The command modifier is Control on this desktop.
            GVariantBuilder shortcut;
            g_variant_builder_init(&shortcut, G_VARIANT_TYPE("aas"));
            const gchar* keys[] = {"Control", item->keyEquivalent().c_str()};
            g_variant_builder_add_value(&shortcut, g_variant_new_strv(keys, 2));
            dbusmenu_menuitem_property_set_variant(entry, DBUSMENU_MENUITEM_PROP_SHORTCUT,
                                                   g_variant_builder_end(&shortcut));
        }
        g_signal_connect_data(entry, DBUSMENU_MENUITEM_SIGNAL_ITEM_ACTIVATED, G_CALLBACK(onItemActivated),
                              new std::weak_ptr<appkit::MenuItem>(item),
                              [](gpointer data, GClosure*) { deleteWeakItem(data); }, GConnectFlags{});
        dbusmenu_menuitem_child_append(root, entry);
    }
    dbusmenu_server_set_root(server_, root);
}

}  // namespace desktop
