#pragma once

#include "platform/runtime/concurrency/Task.hpp"
#include "platform/kits/usernotifications/AuthorizationOptions.hpp"
#include "platform/kits/usernotifications/NotificationRequest.hpp"
#include "platform/kits/usernotifications/NotificationResponse.hpp"
#include "platform/kits/usernotifications/UserNotificationCenterDelegate.hpp"

#include <functional>
#include <optional>
#include <string>

namespace usernotifications {

// The application's notifications on the desktop's notification service. Used on the main thread.
class UserNotificationCenter {
public:
    static UserNotificationCenter& current();

    // Not owned; it must outlive its time as the delegate.
    void setDelegate(UserNotificationCenterDelegate* delegate) noexcept { delegate_ = delegate; }
    [[nodiscard]] UserNotificationCenterDelegate* delegate() const noexcept { return delegate_; }

    // Whether the application may show notifications; throws NotificationError when the question
    // itself fails.
    concurrency::Task<bool> requestAuthorization(AuthorizationOptions options);
    void requestAuthorization(AuthorizationOptions options,
                              std::function<void(bool granted, std::optional<std::string> error)> completion);

    // Shows the notification as the delegate decides; the completion gets an error's description when
    // it could not be shown.
    void add(const NotificationRequest& request, std::function<void(std::optional<std::string> error)> completion = {});

    // The backend's way in: the user clicked a notification. Goes to the delegate; without one the
    // click is dropped.
    void receive(const NotificationResponse& response);

    UserNotificationCenter(const UserNotificationCenter&) = delete;
    UserNotificationCenter& operator=(const UserNotificationCenter&) = delete;

private:
    UserNotificationCenter() = default;

    UserNotificationCenterDelegate* delegate_ = nullptr;
};

}  // namespace usernotifications
