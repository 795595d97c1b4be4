#pragma once

#include "tests/platform/backends/desktop/BusPeer.hpp"

#include <gio/gio.h>

#include <string>
#include <vector>

namespace desktoptest {

// The panel's side of the tray: owns the StatusNotifier watcher's name on the session bus and keeps
// the item that registered with it last.
struct FakeStatusNotifierWatcher {
    BusPeer peer;
    std::string itemSender;
    std::string itemPath;

    FakeStatusNotifierWatcher();

    // A property of the item's org.kde.StatusNotifierItem interface, unboxed; null when the call
    // fails. The caller unrefs it.
    GVariant* property(const char* name);
    // The top-level entries of the item's menu at `menuPath`.
    std::vector<MenuEntry> menuEntries(const std::string& menuPath);
};

}  // namespace desktoptest
