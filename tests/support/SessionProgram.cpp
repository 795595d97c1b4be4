#include "tests/support/SessionProgram.hpp"

#include "tests/support/MainLoop.hpp"

#include <gio/gio.h>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace testsupport {

std::optional<pid_t> ownerOf(const std::string& busName) {
    g_autoptr(GDBusConnection) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (bus == nullptr) {
        return std::nullopt;
    }
    g_autoptr(GVariant) reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetConnectionUnixProcessID",
        g_variant_new("(s)", busName.c_str()), G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    if (reply == nullptr) {
        return std::nullopt;
    }
    guint32 process = 0;
    g_variant_get(reply, "(u)", &process);
    return static_cast<pid_t>(process);
}

bool waitUntilUnowned(const std::string& busName, std::chrono::milliseconds bound) {
    bool owned = true;
    const guint watch = g_bus_watch_name(
        G_BUS_TYPE_SESSION, busName.c_str(), G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr,
        +[](GDBusConnection*, const gchar*, gpointer data) { *static_cast<bool*>(data) = false; }, &owned, nullptr);
    const bool gone = MainLoop::iterateUntil([&owned] { return !owned; }, bound);
    g_bus_unwatch_name(watch);
    return gone;
}

bool waitForEnd(pid_t process, std::chrono::milliseconds bound) {
    const int handle = static_cast<int>(syscall(SYS_pidfd_open, process, 0));
    if (handle < 0) {
        return errno == ESRCH;
    }
    pollfd ended{handle, POLLIN, 0};
    const int ready = poll(&ended, 1, static_cast<int>(bound.count()));
    close(handle);
    return ready == 1;
}

}  // namespace testsupport
