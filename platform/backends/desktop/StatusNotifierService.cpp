#include "platform/backends/desktop/StatusNotifierService.hpp"

#include "platform/kits/appkit/StatusItem.hpp"
#include "platform/backends/desktop/DBusMenuExport.hpp"
#include "platform/backends/desktop/PointerMenu.hpp"

#include <gio/gio.h>

#include <cstdio>
#include <optional>

namespace desktop {

namespace {

constexpr const char* watcherName = "org.kde.StatusNotifierWatcher";
constexpr const char* watcherPath = "/StatusNotifierWatcher";
constexpr const char* itemInterface = "org.kde.StatusNotifierItem";

constexpr const char* itemXml = R"xml(<node>
  <interface name="org.kde.StatusNotifierItem">
    <property name="Category" type="s" access="read"/>
    <property name="Id" type="s" access="read"/>
    <property name="Title" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="WindowId" type="i" access="read"/>
    <property name="IconName" type="s" access="read"/>
    <property name="IconPixmap" type="a(iiay)" access="read"/>
    <property name="ItemIsMenu" type="b" access="read"/>
    <property name="Menu" type="o" access="read"/>
    <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
    <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
    <signal name="NewIcon"/>
    <signal name="NewTitle"/>
    <signal name="NewStatus"><arg name="status" type="s"/></signal>
  </interface>
</node>)xml";

GDBusInterfaceInfo* itemInterfaceInfo() {
    static GDBusNodeInfo* const node = g_dbus_node_info_new_for_xml(itemXml, nullptr);
    return node->interfaces[0];
}

GVariant* pixmapVariant(const appkit::Pixmap& image) {
    GVariantBuilder pixmaps;
    g_variant_builder_init(&pixmaps, G_VARIANT_TYPE("a(iiay)"));
    if (!image.isEmpty() && image.isValid()) {
        GVariant* bytes =
            g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, image.argb.data(), image.argb.size(), sizeof(std::uint8_t));
        g_variant_builder_add(&pixmaps, "(ii@ay)", image.width, image.height, bytes);
    }
    return g_variant_builder_end(&pixmaps);
}

}  // namespace

// One StatusNotifierItem: its object, its menu's export, and its registration with whichever
// watcher owns the watcher's name now or later.
class StatusNotifierItemHost final : public appkit::StatusItemHost {
public:
    StatusNotifierItemHost(StatusNotifierService& service, appkit::StatusItem& item, unsigned number)
        : service_(service), item_(item), path_("/StatusNotifierItem/" + std::to_string(number)) {
        GDBusConnection* connection = service_.connection();
        if (connection == nullptr) {
            return;
        }
        connection_ = G_DBUS_CONNECTION(g_object_ref(connection));
        static const GDBusInterfaceVTable vtable = {&StatusNotifierItemHost::onMethodCall,
                                                    &StatusNotifierItemHost::onGetProperty, nullptr, {}};
        registration_ = g_dbus_connection_register_object(connection_, path_.c_str(), itemInterfaceInfo(), &vtable,
                                                          this, nullptr, nullptr);
        updateMenu();
        watch_ = g_bus_watch_name_on_connection(connection_, watcherName, G_BUS_NAME_WATCHER_FLAGS_NONE,
                                                &StatusNotifierItemHost::onWatcherAppeared,
                                                &StatusNotifierItemHost::onWatcherVanished, this, nullptr);
    }

    ~StatusNotifierItemHost() override {
        if (connection_ == nullptr) {
            return;
        }
        g_bus_unwatch_name(watch_);
        g_dbus_connection_unregister_object(connection_, registration_);
        // Hosts drop an item whose object is gone once they fail to read it; there is no call to
        // unregister, so the object's disappearance is the removal.
        menu_.reset();
        g_clear_object(&connection_);
    }

    void update() override {
        if (connection_ == nullptr) {
            return;
        }
        updateMenu();
        g_dbus_connection_emit_signal(connection_, nullptr, path_.c_str(), itemInterface, "NewIcon", nullptr, nullptr);
    }

    // Most panels open the exported menu themselves on a right click; those that cannot send
    // ContextMenu, and the menu opens here instead.
    void popUpMenu(appkit::Menu& menu) override { popUpMenuAtPointer(menu); }

private:
    void updateMenu() {
        const auto* button = item_.button();
        const std::shared_ptr<appkit::Menu> menu = button != nullptr ? button->menu() : nullptr;
        if (!menu) {
            menu_.reset();
        } else if (!menu_ || menu_->menu() != menu) {
            menu_ = std::make_unique<DBusMenuExport>(path_ + "/menu", menu);
        }
    }

    static void onMethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                             GVariant*, GDBusMethodInvocation* invocation, gpointer data) {
        auto* self = static_cast<StatusNotifierItemHost*>(data);
        // Answer first: the click's action may remove this very item.
        g_dbus_method_invocation_return_value(invocation, nullptr);
        const std::string name = method;
        std::optional<appkit::EventType> click;
        if (name == "Activate" || name == "SecondaryActivate") {
            click = appkit::EventType::leftMouseUp;
        } else if (name == "ContextMenu") {
            click = appkit::EventType::rightMouseUp;
        }
        if (click) {
            if (auto* button = self->item_.button()) {
                button->click(*click);
            }
        }
    }

    static GVariant* onGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* property,
                                   GError**, gpointer data) {
        auto* self = static_cast<StatusNotifierItemHost*>(data);
        const std::string name = property;
        const std::string& id = self->service_.applicationId_;
        const std::string& title = self->service_.title_;
        if (name == "Category") {
            return g_variant_new_string("ApplicationStatus");
        }
        if (name == "Id") {
            return g_variant_new_string(id.c_str());
        }
        if (name == "Title") {
            return g_variant_new_string(title.c_str());
        }
        if (name == "Status") {
            return g_variant_new_string("Active");
        }
        if (name == "WindowId") {
            return g_variant_new_int32(0);
        }
        if (name == "IconName") {
            return g_variant_new_string("");
        }
        if (name == "ItemIsMenu") {
            return g_variant_new_boolean(FALSE);
        }
        if (name == "Menu") {
            return g_variant_new_object_path(self->menu_ ? self->menu_->objectPath().c_str() : "/");
        }
        const auto* button = self->item_.button();
        const appkit::Pixmap none;
        const appkit::Pixmap& image = button != nullptr ? button->image() : none;
        if (name == "IconPixmap") {
            return pixmapVariant(image);
        }
        if (name == "ToolTip") {
            return g_variant_new("(s@a(iiay)ss)", "", pixmapVariant(appkit::Pixmap{}), title.c_str(), "");
        }
        return nullptr;
    }

    static void onWatcherAppeared(GDBusConnection* connection, const gchar*, const gchar*, gpointer data) {
        auto* self = static_cast<StatusNotifierItemHost*>(data);
        // The path form of the registration: the watcher pairs it with this connection's name.
        g_dbus_connection_call(connection, watcherName, watcherPath, watcherName, "RegisterStatusNotifierItem",
                               g_variant_new("(s)", self->path_.c_str()), nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
                               nullptr, nullptr);
    }

    static void onWatcherVanished(GDBusConnection*, const gchar*, gpointer data) {
        static_cast<StatusNotifierItemHost*>(data)->service_.sayNoWatcherOnce();
    }

    StatusNotifierService& service_;
    appkit::StatusItem& item_;
    std::string path_;
    GDBusConnection* connection_ = nullptr;
    unsigned registration_ = 0;
    unsigned watch_ = 0;
    std::unique_ptr<DBusMenuExport> menu_;
};

StatusNotifierService::StatusNotifierService(std::string applicationId, std::string title)
    : applicationId_(std::move(applicationId)), title_(std::move(title)) {}

StatusNotifierService::~StatusNotifierService() {
    g_clear_object(&connection_);
}

std::unique_ptr<appkit::StatusItemHost> StatusNotifierService::add(appkit::StatusItem& item) {
    return std::make_unique<StatusNotifierItemHost>(*this, item, nextItem_++);
}

GDBusConnection* StatusNotifierService::connection() {
    if (!triedConnecting_) {
        triedConnecting_ = true;
        g_autoptr(GError) error = nullptr;
        connection_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
        if (connection_ == nullptr) {
            std::fprintf(stderr, "kestrova: no session bus (%s); the tray item is not shown\n", error->message);
            saidNoWatcher_ = true;
        }
    }
    return connection_;
}

void StatusNotifierService::sayNoWatcherOnce() {
    if (saidNoWatcher_) {
        return;
    }
    saidNoWatcher_ = true;
    std::fprintf(stderr, "kestrova: no StatusNotifier watcher on the session bus; the tray item is not shown\n");
}

}  // namespace desktop
