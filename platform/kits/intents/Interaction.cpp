#include "platform/kits/intents/Interaction.hpp"

#include "platform/kits/intents/Intent.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"

namespace intents {

Interaction::Interaction(std::shared_ptr<Intent> intent) : intent_(std::move(intent)) {}

Interaction::Interaction(const KeyedUnarchiver& coder) : intent_(coder.decodeObject<Intent>("intent")) {}

void Interaction::encode(KeyedArchiver& coder) const {
    coder.encodeObject("intent", intent_);
}

}  // namespace intents
