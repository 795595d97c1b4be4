#pragma once

#include <gio/gio.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace desktoptest {

// Runs the default main context until `done` holds or `limit` passes; whether it held.
bool spinUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));

// Another client of the session bus in the same process, on its own connection: the panel, the
// notification server or the launcher that a desktop test stands in for. Its calls wait by running
// the default main context, so the code under test answers in the meantime.
class BusPeer {
public:
    BusPeer();
    ~BusPeer();
    BusPeer(const BusPeer&) = delete;
    BusPeer& operator=(const BusPeer&) = delete;

    [[nodiscard]] GDBusConnection* connection() const noexcept { return connection_; }

    // Takes a well-known name; false when it could not.
    bool own(const std::string& name);

    using MethodHandler = std::function<GVariant*(const std::string& sender, const std::string& method, GVariant* arguments)>;
    // Serves the one interface of `xml` at `path`; the handler's value (or null for none) is the reply.
    void serve(const std::string& path, const char* xml, MethodHandler handler);

    // Calls and waits for the reply; null on an error, which is put in `error` when given.
    GVariant* call(const std::string& destination, const std::string& path, const std::string& interface,
                   const std::string& method, GVariant* arguments, std::string* error = nullptr);

    using SignalHandler = std::function<void(const std::string& sender, const std::string& path,
                                             const std::string& signal, GVariant* parameters)>;
    // Hears every signal of `interface`.
    void listen(const std::string& interface, SignalHandler handler);

private:
    GDBusConnection* connection_ = nullptr;
    GDBusNodeInfo* node_ = nullptr;
    unsigned registration_ = 0;
    unsigned subscription_ = 0;
    MethodHandler methods_;
    SignalHandler signals_;
};

// One top-level entry of a menu exported with the D-Bus menu protocol.
struct MenuEntry {
    int id;
    std::string label;
};
// Reads the top-level entries of the menu at `owner`'s `path`.
std::vector<MenuEntry> menuEntries(BusPeer& peer, const std::string& owner, const std::string& path);
// Clicks the entry, as a panel does when the user chooses it.
void clickMenuEntry(BusPeer& peer, const std::string& owner, const std::string& path, int id);

}  // namespace desktoptest
