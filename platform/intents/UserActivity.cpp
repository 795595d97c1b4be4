#include "platform/intents/UserActivity.hpp"

#include "platform/intents/KeyedArchiver.hpp"
#include "platform/intents/KeyedUnarchiver.hpp"

namespace intents {

UserActivity::UserActivity(std::string activityType) : activityType_(std::move(activityType)) {}

UserActivity::UserActivity(const KeyedUnarchiver& coder)
    : activityType_(coder.decodeString("activityType").value_or("")) {}

void UserActivity::encode(KeyedArchiver& coder) const {
    coder.encodeString("activityType", activityType_);
}

}  // namespace intents
