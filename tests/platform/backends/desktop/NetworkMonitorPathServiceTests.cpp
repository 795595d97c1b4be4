// The desktop's path service over a network monitor whose state the test sets: this program makes
// it GIO's default monitor before anything asks GIO for one, so the service reads it as it would
// read NetworkManager's.
#include "platform/backends/desktop/NetworkMonitorPathService.hpp"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using network::Path;

struct FakeNetworkMonitor {
    GObject parent;
    gboolean available;
    GNetworkConnectivity connectivity;
};

struct FakeNetworkMonitorClass {
    GObjectClass parent;
};

enum FakeNetworkMonitorProperty : guint { networkAvailable = 1, networkMetered, connectivity };

GType fake_network_monitor_get_type();

gboolean fake_network_monitor_initable_init(GInitable*, GCancellable*, GError**) {
    return TRUE;
}

void fake_network_monitor_initable_interface_init(GInitableIface* initable) {
    initable->init = fake_network_monitor_initable_init;
}

void fake_network_monitor_interface_init(GNetworkMonitorInterface*) {}

G_DEFINE_TYPE_WITH_CODE(FakeNetworkMonitor, fake_network_monitor, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(G_TYPE_INITABLE, fake_network_monitor_initable_interface_init)
                            G_IMPLEMENT_INTERFACE(G_TYPE_NETWORK_MONITOR, fake_network_monitor_interface_init))

void fake_network_monitor_init(FakeNetworkMonitor* self) {
    self->available = TRUE;
    self->connectivity = G_NETWORK_CONNECTIVITY_FULL;
}

void fake_network_monitor_get_property(GObject* object, guint property, GValue* value, GParamSpec* spec) {
    const auto* self = reinterpret_cast<FakeNetworkMonitor*>(object);
    switch (property) {
    case networkAvailable:
        g_value_set_boolean(value, self->available);
        break;
    case networkMetered:
        g_value_set_boolean(value, FALSE);
        break;
    case connectivity:
        g_value_set_enum(value, self->connectivity);
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, property, spec);
    }
}

void fake_network_monitor_class_init(FakeNetworkMonitorClass* type) {
    auto* object = G_OBJECT_CLASS(type);
    object->get_property = fake_network_monitor_get_property;
    g_object_class_override_property(object, networkAvailable, "network-available");
    g_object_class_override_property(object, networkMetered, "network-metered");
    g_object_class_override_property(object, connectivity, "connectivity");
}

// GIO's default monitor, the fake: its extension outranks every monitor GIO ships.
FakeNetworkMonitor& installedMonitor() {
    static FakeNetworkMonitor* const monitor = [] {
        g_io_extension_point_register(G_NETWORK_MONITOR_EXTENSION_POINT_NAME);
        g_io_extension_point_implement(G_NETWORK_MONITOR_EXTENSION_POINT_NAME, fake_network_monitor_get_type(),
                                       "kestrova-test", 1000);
        return reinterpret_cast<FakeNetworkMonitor*>(g_network_monitor_get_default());
    }();
    return *monitor;
}

// What GIO's monitors do on a change: the new state, then "network-changed".
void report(gboolean available, GNetworkConnectivity connectivity) {
    auto& monitor = installedMonitor();
    monitor.available = available;
    monitor.connectivity = connectivity;
    g_signal_emit_by_name(&monitor, "network-changed", available);
}

std::string describe(Path path) {
    switch (path.status) {
    case Path::Status::satisfied:
        return "satisfied";
    case Path::Status::unsatisfied:
        return "unsatisfied";
    case Path::Status::requiresConnection:
        return "requires connection";
    }
    return "?";
}

class NetworkMonitorPathServiceTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(G_TYPE_CHECK_INSTANCE_TYPE(&installedMonitor(), fake_network_monitor_get_type()))
            << "GIO chose another network monitor";
        report(TRUE, G_NETWORK_CONNECTIVITY_FULL);
    }
};

// Behind a captive portal, or when the connectivity check cannot reach its server, there is still a
// route: the page loads (the portal answers with its sign-in page), so the window must not go offline.
TEST_F(NetworkMonitorPathServiceTest, EveryNetworkWithARouteIsSatisfiedCaptivePortalsIncluded) {
    struct Case {
        const char* network;
        gboolean available;
        GNetworkConnectivity connectivity;
        const char* path;
    };
    const Case cases[] = {
        {"no route", FALSE, G_NETWORK_CONNECTIVITY_LOCAL, "unsatisfied"},
        {"limited", TRUE, G_NETWORK_CONNECTIVITY_LIMITED, "satisfied"},
        {"captive portal", TRUE, G_NETWORK_CONNECTIVITY_PORTAL, "satisfied"},
        {"full", TRUE, G_NETWORK_CONNECTIVITY_FULL, "satisfied"},
    };
    desktop::NetworkMonitorPathService service;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.network);
        std::vector<std::string> heard;
        auto subscription = service.subscribe([&](const Path& path) { heard.push_back(describe(path)); });
        report(c.available, c.connectivity);
        // The first one at subscribing, then the change.
        ASSERT_EQ(heard.size(), 2u);
        EXPECT_EQ(heard[1], c.path);

        std::vector<std::string> atOnce;
        auto later = service.subscribe([&](const Path& path) { atOnce.push_back(describe(path)); });
        EXPECT_EQ(atOnce, std::vector<std::string>{c.path});
        subscription.cancel();
        later.cancel();
        report(TRUE, G_NETWORK_CONNECTIVITY_FULL);
    }
}

}  // namespace
