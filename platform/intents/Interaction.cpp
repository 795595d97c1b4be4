#include "platform/intents/Interaction.hpp"

#include "platform/intents/Intent.hpp"
#include "platform/intents/KeyedArchiver.hpp"
#include "platform/intents/KeyedUnarchiver.hpp"

namespace intents {

Interaction::Interaction(std::shared_ptr<Intent> intent) : intent_(std::move(intent)) {}

Interaction::Interaction(const KeyedUnarchiver& coder) : intent_(coder.decodeObject<Intent>("intent")) {}

void Interaction::encode(KeyedArchiver& coder) const {
    coder.encodeObject("intent", intent_);
}

}  // namespace intents
