#pragma once

#include "platform/usernotifications/UserInfo.hpp"

#include <string>

namespace usernotifications {

// What a notification says, and the payload that comes back when it is clicked.
struct NotificationContent {
    std::string title;
    std::string body;
    UserInfo userInfo;
};

}  // namespace usernotifications
