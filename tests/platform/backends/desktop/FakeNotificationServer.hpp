#pragma once

#include "tests/platform/backends/desktop/BusPeer.hpp"

#include <gio/gio.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace desktoptest {

// The desktop's notification server: owns org.freedesktop.Notifications on the session bus, keeps
// what it was asked to show last and answers every notification with the id `shownId`.
struct FakeNotificationServer {
    static constexpr std::uint32_t shownId = 5;

    BusPeer peer;
    std::string summary;
    std::string body;
    // Key and label in turn, as the server gets them.
    std::vector<std::string> actions;
    std::optional<bool> suppressSound;
    int notifies = 0;

    FakeNotificationServer();

    // Sends one of the server's signals, as it does when the user clicks or closes a notification.
    void emit(const char* signal, GVariant* parameters);
};

// The desktop's file manager: owns org.freedesktop.FileManager1 and keeps the items it was asked to
// show last.
struct FakeFileManager {
    BusPeer peer;
    std::vector<std::string> shown;

    FakeFileManager();
};

}  // namespace desktoptest
