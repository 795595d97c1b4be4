#include "tests/platform/backends/desktop/BusPeer.hpp"

#include <gtest/gtest.h>

namespace desktoptest {

bool spinUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        if (g_main_context_iteration(nullptr, FALSE) == FALSE) {
            g_usleep(1000);
        }
    }
    return true;
}

BusPeer::BusPeer() {
    GError* error = nullptr;
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (address != nullptr) {
        connection_ = g_dbus_connection_new_for_address_sync(
            address,
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
        g_free(address);
    }
    if (connection_ == nullptr) {
        ADD_FAILURE() << "no session bus: run under dbus-run-session (" << error->message << ")";
        g_error_free(error);
    }
}

BusPeer::~BusPeer() {
    if (subscription_ != 0) {
        g_dbus_connection_signal_unsubscribe(connection_, subscription_);
    }
    if (registration_ != 0) {
        g_dbus_connection_unregister_object(connection_, registration_);
    }
    if (node_ != nullptr) {
        g_dbus_node_info_unref(node_);
    }
    if (connection_ != nullptr) {
        g_dbus_connection_close_sync(connection_, nullptr, nullptr);
        g_object_unref(connection_);
    }
}

bool BusPeer::own(const std::string& name) {
    GVariant* reply = call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
                           g_variant_new("(su)", name.c_str(), 4u /* do not queue */));
    if (reply == nullptr) {
        return false;
    }
    guint32 result = 0;
    g_variant_get(reply, "(u)", &result);
    g_variant_unref(reply);
    return result == 1;
}

void BusPeer::serve(const std::string& path, const char* xml, MethodHandler handler) {
    methods_ = std::move(handler);
    node_ = g_dbus_node_info_new_for_xml(xml, nullptr);
    static const GDBusInterfaceVTable vtable = {
        [](GDBusConnection*, const gchar* sender, const gchar*, const gchar*, const gchar* method, GVariant* arguments,
           GDBusMethodInvocation* invocation, gpointer data) {
            GVariant* reply = static_cast<BusPeer*>(data)->methods_(sender, method, arguments);
            g_dbus_method_invocation_return_value(invocation, reply);
        },
        nullptr, nullptr, {}};
    registration_ =
        g_dbus_connection_register_object(connection_, path.c_str(), node_->interfaces[0], &vtable, this, nullptr, nullptr);
}

GVariant* BusPeer::call(const std::string& destination, const std::string& path, const std::string& interface,
                        const std::string& method, GVariant* arguments, std::string* error) {
    struct Pending {
        bool done = false;
        GVariant* reply = nullptr;
        std::string error;
    } pending;
    g_dbus_connection_call(
        connection_, destination.c_str(), path.c_str(), interface.c_str(), method.c_str(), arguments, nullptr,
        G_DBUS_CALL_FLAGS_NONE, 10000, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* p = static_cast<Pending*>(data);
            GError* failure = nullptr;
            p->reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &failure);
            if (failure != nullptr) {
                p->error = failure->message;
                g_error_free(failure);
            }
            p->done = true;
        },
        &pending);
    EXPECT_TRUE(spinUntil([&] { return pending.done; }));
    if (error != nullptr) {
        *error = pending.error;
    }
    return pending.reply;
}

void BusPeer::listen(const std::string& interface, SignalHandler handler) {
    signals_ = std::move(handler);
    subscription_ = g_dbus_connection_signal_subscribe(
        connection_, nullptr, interface.c_str(), nullptr, nullptr, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
        [](GDBusConnection*, const gchar* sender, const gchar* path, const gchar*, const gchar* signal,
           GVariant* parameters, gpointer data) { static_cast<BusPeer*>(data)->signals_(sender, path, signal, parameters); },
        this, nullptr);
}

std::vector<MenuEntry> menuEntries(BusPeer& peer, const std::string& owner, const std::string& path) {
    std::vector<MenuEntry> entries;
    const gchar* none[] = {nullptr};
    GVariant* reply =
        peer.call(owner, path, "com.canonical.dbusmenu", "GetLayout", g_variant_new("(ii^as)", 0, -1, none));
    if (reply == nullptr) {
        return entries;
    }
    GVariant* layout = g_variant_get_child_value(reply, 1);
    GVariant* children = g_variant_get_child_value(layout, 2);
    for (gsize i = 0; i < g_variant_n_children(children); ++i) {
        GVariant* boxed = g_variant_get_child_value(children, i);
        GVariant* child = g_variant_get_variant(boxed);
        gint32 id = 0;
        GVariant* properties = nullptr;
        GVariant* grandchildren = nullptr;
        g_variant_get(child, "(i@a{sv}@av)", &id, &properties, &grandchildren);
        const gchar* label = "";
        g_variant_lookup(properties, "label", "&s", &label);
        entries.push_back({id, label});
        g_variant_unref(properties);
        g_variant_unref(grandchildren);
        g_variant_unref(child);
        g_variant_unref(boxed);
    }
    g_variant_unref(children);
    g_variant_unref(layout);
    g_variant_unref(reply);
    return entries;
}

void clickMenuEntry(BusPeer& peer, const std::string& owner, const std::string& path, int id) {
    GVariant* reply = peer.call(owner, path, "com.canonical.dbusmenu", "Event",
                                g_variant_new("(isvu)", id, "clicked", g_variant_new_int32(0), 0u));
    ASSERT_NE(reply, nullptr);
    g_variant_unref(reply);
}

}  // namespace desktoptest
