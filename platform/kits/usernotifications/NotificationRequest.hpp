#pragma once

#include "platform/kits/usernotifications/NotificationContent.hpp"

#include <string>

namespace usernotifications {

// One notification to show: the application's identifier for it and its content.
struct NotificationRequest {
    std::string identifier;
    NotificationContent content;
};

}  // namespace usernotifications
