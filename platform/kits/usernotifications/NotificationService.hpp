#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/kits/usernotifications/AuthorizationOptions.hpp"
#include "platform/kits/usernotifications/NotificationRequest.hpp"
#include "platform/kits/usernotifications/PresentationOptions.hpp"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace usernotifications {

// How the installed backend shows notifications. Clicks come back through
// UserNotificationCenter::current().receive() on the main thread.
class NotificationService : public base::Installable<NotificationService> {
public:
    static constexpr std::string_view serviceName = "usernotifications::NotificationService";

    virtual ~NotificationService() = default;

    // Answers on the main thread: granted or not, or an error's description.
    using AuthorizationHandler = std::function<void(bool granted, std::optional<std::string> error)>;
    virtual void requestAuthorization(AuthorizationOptions options, AuthorizationHandler completion) = 0;

    // Answers on the main thread with an error's description when the notification could not be shown.
    using PostHandler = std::function<void(std::optional<std::string> error)>;
    virtual void post(const NotificationRequest& request, PresentationOptions options, PostHandler completion) = 0;

protected:
    NotificationService() = default;
};

}  // namespace usernotifications
