#pragma once

#include "platform/foundation/Data.hpp"

namespace appkit {

// What the application tells its delegate. Called on the main thread.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;

    // The platform's push provider registered the application; `deviceToken` addresses it.
    virtual void didRegisterForRemoteNotifications(const foundation::Data& deviceToken) = 0;

protected:
    ApplicationDelegate() = default;
};

}  // namespace appkit
