#pragma once

#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/intents/Archivable.hpp"
#include "platform/kits/intents/Interaction.hpp"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace intents {

class KeyedUnarchiver;

// Work handed over to the application, named by its type: a web page to go on with, or an intent
// that the user asked for.
class UserActivity : public Archivable {
public:
    // The type of an activity that carries a web page in webpageURL.
    static constexpr std::string_view browsingWebActivityType = "NSUserActivityTypeBrowsingWeb";

    explicit UserActivity(std::string activityType);
    explicit UserActivity(const KeyedUnarchiver& coder);

    [[nodiscard]] const std::string& activityType() const noexcept { return activityType_; }

    // The page of a browsing activity.
    [[nodiscard]] const std::optional<foundation::URL>& webpageURL() const noexcept { return webpageURL_; }
    void setWebpageURL(std::optional<foundation::URL> url) { webpageURL_ = std::move(url); }

    // The intent the activity came from, when it came from one.
    [[nodiscard]] const std::shared_ptr<Interaction>& interaction() const noexcept { return interaction_; }
    void setInteraction(std::shared_ptr<Interaction> interaction) { interaction_ = std::move(interaction); }

    [[nodiscard]] std::string_view className() const override { return "NSUserActivity"; }
    void encode(KeyedArchiver& coder) const override;

private:
    std::string activityType_;
    std::optional<foundation::URL> webpageURL_;
    std::shared_ptr<Interaction> interaction_;
};

}  // namespace intents
