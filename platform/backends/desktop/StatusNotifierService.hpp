#pragma once

#include "platform/kits/appkit/StatusBarService.hpp"

#include <memory>
#include <string>

typedef struct _GDBusConnection GDBusConnection;

namespace desktop {

// The tray of today's Linux panels: every item is a StatusNotifierItem on the session bus,
// announced to the StatusNotifierWatcher, with its icon as a pixmap and its menu exported with the
// D-Bus menu protocol. A left click (Activate, and SecondaryActivate for the middle button) reaches
// the item's button as a left click, ContextMenu as a right one. Without a watcher on the bus (no panel shows such items) the item is not
// shown, which is said once on standard error; a watcher that starts later gets the item at once.
// Used on the main thread; the bus's calls arrive through the default main context.
class StatusNotifierService final : public appkit::StatusBarService {
public:
    // `applicationId` identifies the items for the panel ("kestrova"); `title` is their name for
    // people, which panels show as the tooltip ("Kestrova").
    StatusNotifierService(std::string applicationId, std::string title);
    ~StatusNotifierService() override;
    StatusNotifierService(const StatusNotifierService&) = delete;
    StatusNotifierService& operator=(const StatusNotifierService&) = delete;

    // Icons are drawn for a panel of this height; panels scale them as they need.
    [[nodiscard]] double thickness() override { return 22; }
    std::unique_ptr<appkit::StatusItemHost> add(appkit::StatusItem& item) override;

private:
    friend class StatusNotifierItemHost;
    GDBusConnection* connection();
    void sayNoWatcherOnce();

    std::string applicationId_;
    std::string title_;
    GDBusConnection* connection_ = nullptr;
    bool triedConnecting_ = false;
    bool saidNoWatcher_ = false;
    unsigned nextItem_ = 1;
};

}  // namespace desktop
