#include "platform/backends/desktop/RunningInstance.hpp"

#include "platform/backends/desktop/ApplicationObjectPath.hpp"

#include <gio/gio.h>

#include <utility>

namespace desktop {
namespace {

// What GtkApplication adds to every call of a remote instance: its working directory and the startup
// notification id it was started with, which GTK takes only when it is non-empty UTF-8.
GVariant* platformData() {
    GVariantBuilder data;
    g_variant_builder_init(&data, G_VARIANT_TYPE_VARDICT);
    g_autofree gchar* directory = g_get_current_dir();
    g_variant_builder_add(&data, "{sv}", "cwd", g_variant_new_bytestring(directory));
    const gchar* startup = g_getenv("DESKTOP_STARTUP_ID");
    if (startup != nullptr && *startup != '\0' && g_utf8_validate(startup, -1, nullptr) != FALSE) {
        g_variant_builder_add(&data, "{sv}", "desktop-startup-id", g_variant_new_string(startup));
    }
    return g_variant_builder_end(&data);
}

GVariant* openParameters(const HandedOverLaunch& launch) {
    GVariantBuilder uris;
    g_variant_builder_init(&uris, G_VARIANT_TYPE_STRING_ARRAY);
    for (const auto& uri : launch.uris) {
        g_variant_builder_add(&uris, "s", uri.c_str());
    }
    return g_variant_new("(ass@a{sv})", &uris, "", platformData());
}

// Nobody had the name to take the call: it was never taken, or its owner has left the bus since.
bool noOwner(const GError* error) {
    return g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN) ||
           g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER);
}

}  // namespace

RunningInstance::RunningInstance(std::string applicationId) : applicationId_(std::move(applicationId)) {}

RunningInstance::HandOver RunningInstance::handOver(const HandedOverLaunch& launch) const {
    g_autoptr(GDBusConnection) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (bus == nullptr) {
        // GApplication runs as an instance of its own without a session bus.
        return HandOver::noInstance;
    }
    const bool activation = launch.uris.empty();
    const std::string path = applicationObjectPath(applicationId_);
    // One call, with no owner lookup before it: whether an instance runs and whether it takes the launch
    // are the one answer, so an instance that ends meanwhile cannot swallow the launch.
    g_autoptr(GError) error = nullptr;
    g_autoptr(GVariant) reply = g_dbus_connection_call_sync(
        bus, applicationId_.c_str(), path.c_str(), "org.gtk.Application", activation ? "Activate" : "Open",
        activation ? g_variant_new("(@a{sv})", platformData()) : openParameters(launch), G_VARIANT_TYPE_UNIT,
        G_DBUS_CALL_FLAGS_NO_AUTO_START, -1, nullptr, &error);
    if (reply != nullptr) {
        return HandOver::delivered;
    }
    if (noOwner(error)) {
        return HandOver::noInstance;
    }
    throw HandOverRefused("the running instance of " + applicationId_ + " did not take the launch: " + error->message);
}

}  // namespace desktop
