#pragma once

#include "platform/kits/appkit/PushService.hpp"

namespace desktop {

// A Linux desktop has no push provider: registering is accepted and no device token ever arrives.
class DesktopPushService final : public appkit::PushService {
public:
    void registerForRemoteNotifications(std::function<void(const foundation::Data&)> /*onToken*/) override {}
};

}  // namespace desktop
