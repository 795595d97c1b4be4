#pragma once

#include "platform/intents/Archivable.hpp"

#include <memory>
#include <optional>
#include <string>

namespace intents {

class Intent;
class KeyedUnarchiver;

// Work handed over to the application, named by its type: a web page that was being browsed
// elsewhere (with its address), or an intent that asks the application to go on with it.
class UserActivity : public Archivable {
public:
    // The type of an activity that browses a web page.
    static constexpr std::string_view browsingWeb = "NSUserActivityTypeBrowsingWeb";

    explicit UserActivity(std::string activityType);
    explicit UserActivity(const KeyedUnarchiver& coder);

    [[nodiscard]] const std::string& activityType() const noexcept { return activityType_; }

    // The page of a browsing activity, as absolute text.
    [[nodiscard]] const std::optional<std::string>& webpageURL() const noexcept { return webpageURL_; }
    void setWebpageURL(std::optional<std::string> url) { webpageURL_ = std::move(url); }

    // The intent whose handling led here, when the activity comes from one.
    [[nodiscard]] const std::shared_ptr<Intent>& interactionIntent() const noexcept { return interactionIntent_; }
    void setInteractionIntent(std::shared_ptr<Intent> intent) { interactionIntent_ = std::move(intent); }

    [[nodiscard]] std::string_view className() const override { return "NSUserActivity"; }
    void encode(KeyedArchiver& coder) const override;

private:
    std::string activityType_;
    std::optional<std::string> webpageURL_;
    std::shared_ptr<Intent> interactionIntent_;
};

}  // namespace intents
