#include "tests/platform/backends/desktop/FakeNotificationServer.hpp"

#include <gtest/gtest.h>

namespace desktoptest {
namespace {

constexpr const char* serverXml = R"xml(<node>
  <interface name="org.freedesktop.Notifications">
    <method name="GetCapabilities"><arg type="as" direction="out"/></method>
    <method name="Notify">
      <arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
      <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/><arg type="u" direction="out"/>
    </method>
  </interface>
</node>)xml";

constexpr const char* fileManagerXml = R"xml(<node>
  <interface name="org.freedesktop.FileManager1">
    <method name="ShowItems"><arg type="as" direction="in"/><arg type="s" direction="in"/></method>
  </interface>
</node>)xml";

}  // namespace

FakeNotificationServer::FakeNotificationServer() {
    peer.serve("/org/freedesktop/Notifications", serverXml,
               [this](const std::string&, const std::string& method, GVariant* arguments) -> GVariant* {
                   if (method == "GetCapabilities") {
                       const gchar* capabilities[] = {"actions", "body", nullptr};
                       return g_variant_new("(^as)", capabilities);
                   }
                   const gchar* title = nullptr;
                   const gchar* text = nullptr;
                   gchar** keys = nullptr;
                   GVariant* hints = nullptr;
                   g_variant_get(arguments, "(&su&s&s&s^as@a{sv}i)", nullptr, nullptr, nullptr, &title, &text, &keys,
                                 &hints, nullptr);
                   summary = title;
                   body = text;
                   actions.assign(keys, keys + g_strv_length(keys));
                   gboolean suppress = FALSE;
                   if (g_variant_lookup(hints, "suppress-sound", "b", &suppress)) {
                       suppressSound = suppress != FALSE;
                   }
                   g_strfreev(keys);
                   g_variant_unref(hints);
                   ++notifies;
                   return g_variant_new("(u)", shownId);
               });
    EXPECT_TRUE(peer.own("org.freedesktop.Notifications"));
}

void FakeNotificationServer::emit(const char* signal, GVariant* parameters) {
    g_dbus_connection_emit_signal(peer.connection(), nullptr, "/org/freedesktop/Notifications",
                                  "org.freedesktop.Notifications", signal, parameters, nullptr);
}

FakeFileManager::FakeFileManager() {
    peer.serve("/org/freedesktop/FileManager1", fileManagerXml,
               [this](const std::string&, const std::string&, GVariant* arguments) -> GVariant* {
                   gchar** uris = nullptr;
                   g_variant_get(arguments, "(^as&s)", &uris, nullptr);
                   shown.assign(uris, uris + g_strv_length(uris));
                   g_strfreev(uris);
                   return nullptr;
               });
    EXPECT_TRUE(peer.own("org.freedesktop.FileManager1"));
}

}  // namespace desktoptest
