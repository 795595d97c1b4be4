#pragma once

#include "platform/kits/intents/Archivable.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"

namespace foundation {
class Encoder;
}

namespace intents {

// Lets the foundation encoder write an archived object, with its class name,
// as the element of a list or the value of a key: in an archive and in the
// messages that carry archived objects inside a document of their own.
struct ArchivedObjectWriter {
    const Archivable* object;

    void encode(foundation::Encoder& encoder) const { KeyedArchiver::encodeObject(encoder, *object); }
};

}  // namespace intents
