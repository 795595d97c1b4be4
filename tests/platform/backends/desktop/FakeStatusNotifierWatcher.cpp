#include "tests/platform/backends/desktop/FakeStatusNotifierWatcher.hpp"

#include <gtest/gtest.h>

namespace desktoptest {
namespace {

constexpr const char* watcherXml = R"xml(<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  </interface>
</node>)xml";

}  // namespace

FakeStatusNotifierWatcher::FakeStatusNotifierWatcher() {
    peer.serve("/StatusNotifierWatcher", watcherXml,
               [this](const std::string& sender, const std::string&, GVariant* arguments) -> GVariant* {
                   const gchar* service = nullptr;
                   g_variant_get(arguments, "(&s)", &service);
                   itemSender = sender;
                   itemPath = service;
                   return nullptr;
               });
    EXPECT_TRUE(peer.own("org.kde.StatusNotifierWatcher"));
}

GVariant* FakeStatusNotifierWatcher::property(const char* name) {
    GVariant* reply = peer.call(itemSender, itemPath, "org.freedesktop.DBus.Properties", "Get",
                                g_variant_new("(ss)", "org.kde.StatusNotifierItem", name));
    if (reply == nullptr) {
        return nullptr;
    }
    GVariant* boxed = nullptr;
    g_variant_get(reply, "(v)", &boxed);
    g_variant_unref(reply);
    return boxed;
}

std::vector<MenuEntry> FakeStatusNotifierWatcher::menuEntries(const std::string& menuPath) {
    return desktoptest::menuEntries(peer, itemSender, menuPath);
}

}  // namespace desktoptest
