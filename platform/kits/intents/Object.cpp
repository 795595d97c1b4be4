#include "platform/kits/intents/Object.hpp"

#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"

namespace intents {

Object::Object(std::optional<std::string> identifier, std::string displayString,
               std::optional<std::string> pronunciationHint)
    : identifier_(std::move(identifier)),
      displayString_(std::move(displayString)),
      pronunciationHint_(std::move(pronunciationHint)) {}

Object::Object(const KeyedUnarchiver& coder)
    : identifier_(coder.decodeString("identifier")),
      displayString_(coder.decodeString("displayString").value_or("")),
      pronunciationHint_(coder.decodeString("pronunciationHint")) {}

void Object::encode(KeyedArchiver& coder) const {
    coder.encodeString("identifier", identifier_);
    coder.encodeString("displayString", displayString_);
    coder.encodeString("pronunciationHint", pronunciationHint_);
}

}  // namespace intents
