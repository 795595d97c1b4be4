#include "platform/backends/desktop/DesktopWorkspaceService.hpp"

#include "platform/backends/desktop/DefaultHandler.hpp"
#include "platform/backends/desktop/DesktopApplicationService.hpp"

#include <gio/gio.h>

#include <algorithm>
#include <memory>
#include <string>

namespace desktop {
namespace {

// GApplication's object path for an identifier: "/" and the identifier with "." as "/" and "-" as "_".
std::string objectPathOf(const std::string& id) {
    std::string path = "/" + id;
    std::ranges::replace(path, '.', '/');
    std::ranges::replace(path, '-', '_');
    return path;
}

}  // namespace

bool DesktopWorkspaceService::open(const foundation::URL& url) {
    if (!identity_.linkScheme.empty() && url.scheme() == identity_.linkScheme) {
        if (!application_.openOwnLink(url)) {
            openInRunningApplication(url);
        }
        return true;
    }
    return openWithDefaultHandler(url.absoluteString());
}

void DesktopWorkspaceService::openInRunningApplication(const foundation::URL& url) const {
    const std::string uri = url.absoluteString();
    g_autoptr(GDBusConnection) connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (connection == nullptr) {
        openWithDefaultHandler(uri);
        return;
    }
    GVariantBuilder uris;
    g_variant_builder_init(&uris, G_VARIANT_TYPE("as"));
    g_variant_builder_add(&uris, "s", uri.c_str());
    GVariantBuilder platformData;
    g_variant_builder_init(&platformData, G_VARIANT_TYPE("a{sv}"));
    // Answered once the application has taken the link; the bus starts it first where it can.
    g_dbus_connection_call(
        connection, identity_.id.c_str(), objectPathOf(identity_.id).c_str(), "org.freedesktop.Application", "Open",
        g_variant_new("(asa{sv})", &uris, &platformData), nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            const std::unique_ptr<std::string> link(static_cast<std::string*>(data));
            g_autoptr(GError) error = nullptr;
            g_autoptr(GVariant) reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
            if (reply == nullptr) {
                openWithDefaultHandler(*link);
            }
        },
        new std::string(uri));
}

void DesktopWorkspaceService::activateFileViewerSelectingURLs(const std::vector<foundation::URL>& urls) {
    if (urls.empty()) {
        return;
    }
    g_autoptr(GDBusConnection) connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (connection == nullptr) {
        return;
    }
    GVariantBuilder uris;
    g_variant_builder_init(&uris, G_VARIANT_TYPE("as"));
    for (const auto& url : urls) {
        g_variant_builder_add(&uris, "s", url.absoluteString().c_str());
    }
    gchar* first = g_strdup(urls.front().absoluteString().c_str());
    g_dbus_connection_call(
        connection, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1", "org.freedesktop.FileManager1",
        "ShowItems", g_variant_new("(ass)", &uris, ""), nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            g_autofree gchar* firstURI = static_cast<gchar*>(data);
            g_autoptr(GError) error = nullptr;
            g_autoptr(GVariant) reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
            if (reply != nullptr) {
                return;
            }
            g_autoptr(GFile) file = g_file_new_for_uri(firstURI);
            g_autoptr(GFile) folder = g_file_get_parent(file);
            if (folder != nullptr) {
                g_autofree gchar* folderURI = g_file_get_uri(folder);
                g_app_info_launch_default_for_uri(folderURI, nullptr, nullptr);
            }
        },
        first);
}

}  // namespace desktop
