#pragma once

#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/kits/usernotifications/NotificationRequest.hpp"

namespace usernotifications {

// A notification that was delivered: its request and when.
struct Notification {
    NotificationRequest request;
    foundation::Date date;
};

}  // namespace usernotifications
