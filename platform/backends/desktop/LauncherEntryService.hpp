#pragma once

#include "platform/kits/appkit/DockService.hpp"

#include <memory>
#include <string>

typedef struct _GDBusConnection GDBusConnection;

namespace desktop {

class DBusMenuExport;

// The launcher's quicklist: the menu is exported with the D-Bus menu protocol and announced through
// com.canonical.Unity.LauncherEntry (its "quicklist" property), which docks and task managers read,
// both in an Update signal whenever the menu is set and in the answer to their Query. Used on the
// main thread.
class LauncherEntryService final : public appkit::DockService {
public:
    // `desktopFileId` is the name of the application's .desktop file ("kestrova.desktop").
    explicit LauncherEntryService(std::string desktopFileId);
    ~LauncherEntryService() override;
    LauncherEntryService(const LauncherEntryService&) = delete;
    LauncherEntryService& operator=(const LauncherEntryService&) = delete;

    void setMenu(std::shared_ptr<appkit::Menu> menu) override;

private:
    bool connect();
    void announce();
    [[nodiscard]] std::string applicationURI() const { return "application://" + desktopFileId_; }

    std::string desktopFileId_;
    GDBusConnection* connection_ = nullptr;
    unsigned registration_ = 0;
    bool triedConnecting_ = false;
    std::unique_ptr<DBusMenuExport> export_;
};

}  // namespace desktop
