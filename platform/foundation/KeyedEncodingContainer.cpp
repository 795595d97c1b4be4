#include "platform/foundation/KeyedEncodingContainer.hpp"

#include "platform/foundation/EncodingError.hpp"
#include "platform/foundation/JSONWriter.hpp"

namespace foundation {

Encoder KeyedEncodingContainer::childFor(std::string_view key) {
    if (!writer_->key(key)) {
        throw EncodingError(EncodingError::Kind::invalidValue, node_.pathAppending(key),
                            "Unable to encode a key that is not valid UTF-8.");
    }
    return Encoder(*writer_, CodingPathNode(&node_, key));
}

void KeyedEncodingContainer::encodeNil(std::string_view key) {
    childFor(key).encodeNil();
}

}  // namespace foundation
