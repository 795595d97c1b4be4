#pragma once

#include "platform/kits/usernotifications/NotificationAction.hpp"
#include "platform/kits/usernotifications/UserInfo.hpp"

#include <string>
#include <vector>

namespace usernotifications {

// What a notification says, the payload that comes back when it is clicked, and the actions it
// offers besides the click.
struct NotificationContent {
    std::string title;
    std::string body;
    UserInfo userInfo;
    // In the order they show; none by default, so that a content made without them needs no mention.
    std::vector<NotificationAction> actions = {};
};

}  // namespace usernotifications
