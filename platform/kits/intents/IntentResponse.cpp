#include "platform/kits/intents/IntentResponse.hpp"

#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"

namespace intents {

void IntentResponse::encode(KeyedArchiver& coder) const {
    coder.encodeInteger("code", platformCode());
    coder.encodeObject("userActivity", userActivity_);
}

void IntentResponse::decodeBase(const KeyedUnarchiver& coder) {
    userActivity_ = coder.decodeObject<UserActivity>("userActivity");
    if (coder.contains("code")) {
        setPlatformCode(coder.decodeInteger("code"));
    }
}

}  // namespace intents
