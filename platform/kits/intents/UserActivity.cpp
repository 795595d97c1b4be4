#include "platform/kits/intents/UserActivity.hpp"

#include "platform/kits/intents/ArchiveError.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"

namespace intents {
namespace {

// Archives written before activities carried pages have no "webpageURL"; a text that is no URL is a
// damaged archive.
std::optional<foundation::URL> decodeWebpageURL(const KeyedUnarchiver& coder) {
    const auto text = coder.decodeString("webpageURL");
    if (!text) {
        return std::nullopt;
    }
    auto url = foundation::URL::fromString(*text);
    if (!url) {
        throw ArchiveError("the activity's webpageURL is no URL: " + *text);
    }
    return url;
}

}  // namespace

UserActivity::UserActivity(std::string activityType) : activityType_(std::move(activityType)) {}

UserActivity::UserActivity(const KeyedUnarchiver& coder)
    : activityType_(coder.decodeString("activityType").value_or("")),
      webpageURL_(decodeWebpageURL(coder)),
      interaction_(coder.decodeObject<Interaction>("interaction")) {}

void UserActivity::encode(KeyedArchiver& coder) const {
    coder.encodeString("activityType", activityType_);
    if (webpageURL_) {
        coder.encodeString("webpageURL", webpageURL_->absoluteString());
    }
    coder.encodeObject("interaction", interaction_);
}

}  // namespace intents
