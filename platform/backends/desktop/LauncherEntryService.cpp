#include "platform/backends/desktop/LauncherEntryService.hpp"

#include "platform/backends/desktop/DBusMenuExport.hpp"

#include <gio/gio.h>

#include <cstdio>

namespace desktop {

namespace {

constexpr const char* entryInterface = "com.canonical.Unity.LauncherEntry";
constexpr const char* entryPath = "/com/canonical/unity/launcherentry/kestrova";
constexpr const char* quicklistPath = "/com/canonical/unity/launcherentry/kestrova/quicklist";

constexpr const char* entryXml = R"xml(<node>
  <interface name="com.canonical.Unity.LauncherEntry">
    <method name="Query">
      <arg name="app_uri" type="s" direction="out"/>
      <arg name="properties" type="a{sv}" direction="out"/>
    </method>
    <signal name="Update">
      <arg name="app_uri" type="s"/>
      <arg name="properties" type="a{sv}"/>
    </signal>
  </interface>
</node>)xml";

}  // namespace

LauncherEntryService::LauncherEntryService(std::string desktopFileId) : desktopFileId_(std::move(desktopFileId)) {}

LauncherEntryService::~LauncherEntryService() {
    export_.reset();
    if (connection_ != nullptr) {
        g_dbus_connection_unregister_object(connection_, registration_);
        g_clear_object(&connection_);
    }
}

void LauncherEntryService::setMenu(std::shared_ptr<appkit::Menu> menu) {
    if (!connect()) {
        return;
    }
    if (!menu) {
        export_.reset();
    } else if (!export_ || export_->menu() != menu) {
        export_.reset();  // the old export leaves the path before the new one takes it
        export_ = std::make_unique<DBusMenuExport>(quicklistPath, std::move(menu));
    }
    announce();
}

bool LauncherEntryService::connect() {
    if (triedConnecting_) {
        return connection_ != nullptr;
    }
    triedConnecting_ = true;
    g_autoptr(GError) error = nullptr;
    connection_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (connection_ == nullptr) {
        std::fprintf(stderr, "kestrova: no session bus (%s); the launcher shows no quicklist\n", error->message);
        return false;
    }
    static GDBusNodeInfo* const node = g_dbus_node_info_new_for_xml(entryXml, nullptr);
    static const GDBusInterfaceVTable vtable = {
        [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant*,
           GDBusMethodInvocation* invocation, gpointer data) {
            auto* self = static_cast<LauncherEntryService*>(data);
            GVariantBuilder properties;
            g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
            g_variant_builder_add(&properties, "{sv}", "quicklist",
                                  g_variant_new_string(self->export_ ? quicklistPath : ""));
            g_dbus_method_invocation_return_value(
                invocation, g_variant_new("(sa{sv})", self->applicationURI().c_str(), &properties));
        },
        nullptr, nullptr, {}};
    registration_ =
        g_dbus_connection_register_object(connection_, entryPath, node->interfaces[0], &vtable, this, nullptr, nullptr);
    return true;
}

void LauncherEntryService::announce() {
    GVariantBuilder properties;
    g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
    // An empty path takes the quicklist away.
    g_variant_builder_add(&properties, "{sv}", "quicklist", g_variant_new_string(export_ ? quicklistPath : ""));
    g_dbus_connection_emit_signal(connection_, nullptr, entryPath, entryInterface, "Update",
                                  g_variant_new("(sa{sv})", applicationURI().c_str(), &properties), nullptr);
}

}  // namespace desktop
