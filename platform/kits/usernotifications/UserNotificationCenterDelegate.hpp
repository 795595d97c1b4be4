#pragma once

#include "platform/kits/usernotifications/Notification.hpp"
#include "platform/kits/usernotifications/NotificationResponse.hpp"
#include "platform/kits/usernotifications/PresentationOptions.hpp"

#include <functional>

namespace usernotifications {

// Decides how notifications show while the application runs and handles the user's answers. Called
// on the main thread; each completion handler is to be called exactly once.
class UserNotificationCenterDelegate {
public:
    virtual ~UserNotificationCenterDelegate() = default;

    // A notification is about to show; without a delegate it shows as a banner, in the list and with
    // its sound.
    virtual void willPresent(const Notification& notification,
                             std::function<void(PresentationOptions)> completionHandler) = 0;
    // The user clicked a notification (or chose one of its actions).
    virtual void didReceive(const NotificationResponse& response, std::function<void()> completionHandler) = 0;

protected:
    UserNotificationCenterDelegate() = default;
};

}  // namespace usernotifications
