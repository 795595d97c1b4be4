#include "platform/backends/desktop/FreedesktopNotificationService.hpp"

#include "platform/kits/usernotifications/UserNotificationCenter.hpp"

#include <gio/gio.h>

#include <memory>
#include <vector>

namespace desktop {

namespace {

constexpr const char* serverName = "org.freedesktop.Notifications";
constexpr const char* serverPath = "/org/freedesktop/Notifications";
constexpr const char* serverInterface = "org.freedesktop.Notifications";
constexpr const char* defaultActionKey = "default";

// What a pending call needs when its answer arrives: the service (the answer may come after it is
// gone only at process end, where the main loop no longer runs) and the caller's handler.
template <typename Handler>
struct Pending {
    FreedesktopNotificationService* service;
    Handler completion;
    usernotifications::NotificationRequest request;
};

}  // namespace

FreedesktopNotificationService::FreedesktopNotificationService(std::string applicationName, std::string desktopEntry)
    : applicationName_(std::move(applicationName)), desktopEntry_(std::move(desktopEntry)) {}

FreedesktopNotificationService::~FreedesktopNotificationService() {
    if (connection_ != nullptr) {
        g_dbus_connection_signal_unsubscribe(connection_, subscription_);
        g_clear_object(&connection_);
    }
}

GDBusConnection* FreedesktopNotificationService::connection() {
    if (!triedConnecting_) {
        triedConnecting_ = true;
        connection_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        if (connection_ != nullptr) {
            subscription_ = g_dbus_connection_signal_subscribe(
                connection_, nullptr, serverInterface, nullptr, serverPath, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
                [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* signal, GVariant* parameters,
                   gpointer data) { static_cast<FreedesktopNotificationService*>(data)->onSignal(signal, parameters); },
                this, nullptr);
        }
    }
    return connection_;
}

void FreedesktopNotificationService::requestAuthorization(usernotifications::AuthorizationOptions /*options*/,
                                                          AuthorizationHandler completion) {
    GDBusConnection* bus = connection();
    if (bus == nullptr) {
        completion(false, std::nullopt);
        return;
    }
    // The server answering is the permission: desktops ask the user per application in their own
    // settings, not per request.
    auto* pending = new Pending<AuthorizationHandler>{this, std::move(completion), {}};
    g_dbus_connection_call(
        bus, serverName, serverPath, serverInterface, "GetCapabilities", nullptr, G_VARIANT_TYPE("(as)"),
        G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<Pending<AuthorizationHandler>> call(static_cast<Pending<AuthorizationHandler>*>(data));
            g_autoptr(GError) error = nullptr;
            g_autoptr(GVariant) reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
            call->completion(reply != nullptr, std::nullopt);
        },
        pending);
}

void FreedesktopNotificationService::post(const usernotifications::NotificationRequest& request,
                                          usernotifications::PresentationOptions options, PostHandler completion) {
    GDBusConnection* bus = connection();
    if (bus == nullptr) {
        if (completion) {
            completion("no session bus");
        }
        return;
    }
    using usernotifications::PresentationOptions;
    // Key and label in turn: the click on the notification, then its own actions.
    std::vector<const gchar*> actions{defaultActionKey, "Open"};
    for (const auto& action : request.content.actions) {
        actions.push_back(action.identifier.c_str());
        actions.push_back(action.title.c_str());
    }
    actions.push_back(nullptr);
    GVariantBuilder hints;
    g_variant_builder_init(&hints, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&hints, "{sv}", "desktop-entry", g_variant_new_string(desktopEntry_.c_str()));
    if (!options.contains(PresentationOptions::sound)) {
        g_variant_builder_add(&hints, "{sv}", "suppress-sound", g_variant_new_boolean(TRUE));
    }
    if (!options.contains(PresentationOptions::list)) {
        // Shown, but not kept in the server's history.
        g_variant_builder_add(&hints, "{sv}", "transient", g_variant_new_boolean(TRUE));
    }
    if (!options.contains(PresentationOptions::banner)) {
        // Only into the list: the lowest urgency, which servers show without a popup.
        g_variant_builder_add(&hints, "{sv}", "urgency", g_variant_new_byte(0));
    }
    auto* pending = new Pending<PostHandler>{this, std::move(completion), request};
    g_dbus_connection_call(
        bus, serverName, serverPath, serverInterface, "Notify",
        g_variant_new("(susss^asa{sv}i)", applicationName_.c_str(), 0u, desktopEntry_.c_str(),
                      request.content.title.c_str(), request.content.body.c_str(), actions.data(), &hints, -1),
        G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<Pending<PostHandler>> call(static_cast<Pending<PostHandler>*>(data));
            g_autoptr(GError) error = nullptr;
            g_autoptr(GVariant) reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
            std::optional<std::string> failure;
            if (reply != nullptr) {
                guint32 id = 0;
                g_variant_get(reply, "(u)", &id);
                call->service->shown_.insert_or_assign(id, call->request);
            } else {
                failure = error->message;
            }
            if (call->completion) {
                call->completion(failure);
            }
        },
        pending);
}

void FreedesktopNotificationService::onSignal(const std::string& signal, GVariant* parameters) {
    if (signal == "ActionInvoked" && g_variant_is_of_type(parameters, G_VARIANT_TYPE("(us)"))) {
        guint32 id = 0;
        const gchar* key = nullptr;
        g_variant_get(parameters, "(u&s)", &id, &key);
        const auto found = shown_.find(id);
        if (found == shown_.end()) {
            return;  // another application's notification
        }
        const std::string action = key;
        usernotifications::UserNotificationCenter::current().receive(
            {usernotifications::Notification{found->second, foundation::Date::now()},
             action == defaultActionKey ? usernotifications::NotificationResponse::defaultActionIdentifier : action});
    } else if (signal == "NotificationClosed" && g_variant_is_of_type(parameters, G_VARIANT_TYPE("(uu)"))) {
        guint32 id = 0;
        guint32 reason = 0;
        g_variant_get(parameters, "(uu)", &id, &reason);
        shown_.erase(id);
    }
}

}  // namespace desktop
