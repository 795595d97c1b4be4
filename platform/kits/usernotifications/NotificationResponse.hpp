#pragma once

#include "platform/kits/usernotifications/Notification.hpp"

#include <string>

namespace usernotifications {

// The user's answer to a notification: which action they chose on it.
struct NotificationResponse {
    // The action of a click on the notification itself.
    static constexpr const char* defaultActionIdentifier = "default";

    Notification notification;
    std::string actionIdentifier = defaultActionIdentifier;
};

}  // namespace usernotifications
