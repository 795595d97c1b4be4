#pragma once

#include "platform/foundation/Date.hpp"
#include "platform/usernotifications/NotificationRequest.hpp"

namespace usernotifications {

// A notification that was delivered: its request and when.
struct Notification {
    NotificationRequest request;
    foundation::Date date;
};

}  // namespace usernotifications
