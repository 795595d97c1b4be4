#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/runtime/foundation/core/Data.hpp"

#include <functional>
#include <string_view>

namespace appkit {

// The platform's push provider, as the installed backend reaches it.
class PushService : public base::Installable<PushService> {
public:
    static constexpr std::string_view serviceName = "appkit::PushService";

    virtual ~PushService() = default;

    // Asks for a device token; `onToken` gets it on the main thread whenever the provider hands one
    // over, which may be never.
    virtual void registerForRemoteNotifications(std::function<void(const foundation::Data&)> onToken) = 0;

protected:
    PushService() = default;
};

}  // namespace appkit
