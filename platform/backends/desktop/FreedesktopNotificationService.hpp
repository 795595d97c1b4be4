#pragma once

#include "platform/kits/usernotifications/NotificationService.hpp"

#include <cstdint>
#include <map>
#include <string>

#include <gio/gio.h>

namespace desktop {

// Notifications through the desktop's notification server (org.freedesktop.Notifications). Each one
// carries a default action, so that the server reports a click on it (ActionInvoked), which reaches
// the notification centre with the notification's payload; its own actions follow as buttons, and
// come back the same way under their identifiers. The application may notify whenever a
// server is on the bus. Used on the main thread; the server's answers arrive through the default main
// context.
class FreedesktopNotificationService final : public usernotifications::NotificationService {
public:
    // `applicationName` and `desktopEntry` name the sender for the server ("Kestrova", "kestrova").
    FreedesktopNotificationService(std::string applicationName, std::string desktopEntry);
    ~FreedesktopNotificationService() override;
    FreedesktopNotificationService(const FreedesktopNotificationService&) = delete;
    FreedesktopNotificationService& operator=(const FreedesktopNotificationService&) = delete;

    void requestAuthorization(usernotifications::AuthorizationOptions options, AuthorizationHandler completion) override;
    void post(const usernotifications::NotificationRequest& request, usernotifications::PresentationOptions options,
              PostHandler completion) override;

private:
    GDBusConnection* connection();
    void onSignal(const std::string& signal, GVariant* parameters);

    std::string applicationName_;
    std::string desktopEntry_;
    GDBusConnection* connection_ = nullptr;
    unsigned subscription_ = 0;
    bool triedConnecting_ = false;
    // The notifications the server shows now, by the server's id.
    std::map<std::uint32_t, usernotifications::NotificationRequest> shown_;
};

}  // namespace desktop
