#pragma once

#include <stdexcept>

namespace usernotifications {

// The notification service refused or failed a request; what() says why.
class NotificationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace usernotifications
