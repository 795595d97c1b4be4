#pragma once

#include "platform/backends/headless/HeadlessEffects.hpp"
#include "platform/kits/usernotifications/NotificationResponse.hpp"
#include "platform/kits/usernotifications/NotificationService.hpp"

#include <optional>
#include <string>
#include <vector>

namespace headless {

// A notification server that the test plays. Records "notifications authorization requested:
// <raw options>" and "notification posted: <identifier> options <raw options>"; answers the
// authorization as the test set it (granted by default) and shows every notification. click() is
// the user clicking one of them.
class HeadlessNotificationService final : public usernotifications::NotificationService {
public:
    explicit HeadlessNotificationService(HeadlessEffects& effects) : effects_(effects) {}

    void requestAuthorization(usernotifications::AuthorizationOptions options, AuthorizationHandler completion) override;
    void post(const usernotifications::NotificationRequest& request, usernotifications::PresentationOptions options,
              PostHandler completion) override;

    // The answer to the next authorization requests: granted or not, or an error.
    void answerAuthorization(bool granted, std::optional<std::string> error = std::nullopt);
    // Clicks the posted notification with `identifier`; false when there is none.
    bool click(const std::string& identifier,
               const std::string& action = usernotifications::NotificationResponse::defaultActionIdentifier);
    [[nodiscard]] const std::vector<usernotifications::NotificationRequest>& posted() const noexcept { return posted_; }
    void reset();

private:
    HeadlessEffects& effects_;
    bool granted_ = true;
    std::optional<std::string> error_;
    std::vector<usernotifications::NotificationRequest> posted_;
};

}  // namespace headless
