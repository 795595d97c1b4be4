#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

#include "platform/runtime/foundation/coding/EncodingError.hpp"
#include "platform/runtime/foundation/coding/JSONWriter.hpp"

namespace foundation {

Encoder KeyedEncodingContainer::childFor(Key key) {
    if (key.isPlain()) {
        writer_->plainKey(key.text());
    } else if (!writer_->key(key.text())) {
        throw EncodingError(EncodingError::Kind::invalidValue, node_.pathAppending(key.text()),
                            "Unable to encode a key that is not valid UTF-8.");
    }
    return Encoder(*writer_, CodingPathNode(&node_, key.text()));
}

void KeyedEncodingContainer::encodeNil(Key key) {
    childFor(key).encodeNil();
}

}  // namespace foundation
