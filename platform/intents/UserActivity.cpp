#include "platform/intents/UserActivity.hpp"

#include "platform/intents/Intent.hpp"
#include "platform/intents/KeyedArchiver.hpp"
#include "platform/intents/KeyedUnarchiver.hpp"

namespace intents {

UserActivity::UserActivity(std::string activityType) : activityType_(std::move(activityType)) {}

UserActivity::UserActivity(const KeyedUnarchiver& coder)
    : activityType_(coder.decodeString("activityType").value_or("")),
      webpageURL_(coder.decodeString("webpageURL")),
      interactionIntent_(coder.decodeObject<Intent>("intent")) {}

void UserActivity::encode(KeyedArchiver& coder) const {
    coder.encodeString("activityType", activityType_);
    coder.encodeString("webpageURL", webpageURL_);
    coder.encodeObject("intent", interactionIntent_);
}

}  // namespace intents
