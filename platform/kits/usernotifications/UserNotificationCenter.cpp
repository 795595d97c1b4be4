#include "platform/kits/usernotifications/UserNotificationCenter.hpp"

#include "platform/runtime/base/Verify.hpp"
#include "platform/runtime/concurrency/WithCheckedThrowingContinuation.hpp"
#include "platform/kits/usernotifications/NotificationError.hpp"
#include "platform/kits/usernotifications/NotificationService.hpp"

#include <atomic>
#include <memory>

namespace usernotifications {

namespace {

NotificationService& service() {
    return NotificationService::installed();
}

// Calls `handler` the first time only: a delegate that answers twice is a fault of the delegate,
// which must not show a notification twice.
template <typename... Args>
std::function<void(Args...)> once(std::function<void(Args...)> handler, const char* what) {
    auto called = std::make_shared<bool>(false);
    return [handler = std::move(handler), called, what](Args... args) {
        VERIFY(!*called, what);
        *called = true;
        if (handler) {
            handler(std::move(args)...);
        }
    };
}

}  // namespace

UserNotificationCenter& UserNotificationCenter::current() {
    static UserNotificationCenter* const center = new UserNotificationCenter;
    return *center;
}

void UserNotificationCenter::requestAuthorization(
    AuthorizationOptions options, std::function<void(bool granted, std::optional<std::string> error)> completion) {
    service().requestAuthorization(options, std::move(completion));
}

concurrency::Task<bool> UserNotificationCenter::requestAuthorization(AuthorizationOptions options) {
    co_return co_await concurrency::withCheckedThrowingContinuation<bool>(
        "UserNotificationCenter.requestAuthorization",
        [&](const concurrency::CheckedContinuation<bool>& continuation) {
            requestAuthorization(options, [continuation](bool granted, std::optional<std::string> error) {
                if (error) {
                    continuation.resumeThrowing(NotificationError(*error));
                } else {
                    continuation.resume(granted);
                }
            });
        });
}

void UserNotificationCenter::add(const NotificationRequest& request,
                                 std::function<void(std::optional<std::string> error)> completion) {
    constexpr PresentationOptions shown{PresentationOptions::banner | PresentationOptions::list |
                                        PresentationOptions::sound};
    if (delegate_ == nullptr) {
        service().post(request, shown, std::move(completion));
        return;
    }
    const Notification notification{request, foundation::Date::now()};
    delegate_->willPresent(
        notification,
        once(std::function<void(PresentationOptions)>([request, completion](PresentationOptions options) {
                 if (options.isEmpty()) {
                     if (completion) {
                         completion(std::nullopt);
                     }
                     return;
                 }
                 service().post(request, options, completion);
             }),
             "the delegate answered willPresent twice"));
}

void UserNotificationCenter::receive(const NotificationResponse& response) {
    if (delegate_ == nullptr) {
        return;
    }
    delegate_->didReceive(response, once(std::function<void()>([] {}), "the delegate answered didReceive twice"));
}

}  // namespace usernotifications
