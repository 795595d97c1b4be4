#pragma once

#include <string>

namespace usernotifications {

// A button of a notification besides the click on the notification itself: choosing it comes back
// as a response with the action's identifier.
struct NotificationAction {
    std::string identifier;
    std::string title;

    friend bool operator==(const NotificationAction&, const NotificationAction&) = default;
};

}  // namespace usernotifications
