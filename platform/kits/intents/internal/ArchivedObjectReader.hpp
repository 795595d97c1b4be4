#pragma once

#include "platform/kits/intents/KeyedUnarchiver.hpp"

#include <memory>

namespace foundation {
class Decoder;
}

namespace intents {

class Archivable;

// Lets the foundation decoder read archived objects as the elements of lists
// and the values of keys: in an archive and in the messages that carry
// archived objects inside a document of their own.
struct ArchivedObjectReader {
    std::shared_ptr<Archivable> object;

    static ArchivedObjectReader decode(foundation::Decoder& decoder) {
        return ArchivedObjectReader{KeyedUnarchiver::decodeObject(decoder)};
    }
};

}  // namespace intents
