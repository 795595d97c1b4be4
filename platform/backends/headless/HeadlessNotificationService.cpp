#include "platform/backends/headless/HeadlessNotificationService.hpp"

#include "platform/kits/usernotifications/UserNotificationCenter.hpp"

#include <algorithm>

namespace headless {

void HeadlessNotificationService::requestAuthorization(usernotifications::AuthorizationOptions options,
                                                       AuthorizationHandler completion) {
    effects_.record("notifications authorization requested: " + std::to_string(options.rawValue));
    completion(error_ ? false : granted_, error_);
}

void HeadlessNotificationService::post(const usernotifications::NotificationRequest& request,
                                       usernotifications::PresentationOptions options, PostHandler completion) {
    effects_.record("notification posted: " + request.identifier + " options " + std::to_string(options.rawValue));
    posted_.push_back(request);
    if (completion) {
        completion(std::nullopt);
    }
}

void HeadlessNotificationService::answerAuthorization(bool granted, std::optional<std::string> error) {
    granted_ = granted;
    error_ = std::move(error);
}

bool HeadlessNotificationService::click(const std::string& identifier, const std::string& action) {
    const auto found = std::find_if(posted_.begin(), posted_.end(),
                                    [&](const auto& request) { return request.identifier == identifier; });
    if (found == posted_.end()) {
        return false;
    }
    usernotifications::UserNotificationCenter::current().receive(
        {usernotifications::Notification{*found, foundation::Date::now()}, action});
    return true;
}

void HeadlessNotificationService::reset() {
    granted_ = true;
    error_.reset();
    posted_.clear();
}

}  // namespace headless
