#include "platform/runtime/foundation/coding/UnkeyedEncodingContainer.hpp"

namespace foundation {

Encoder UnkeyedEncodingContainer::nextChild() {
    return Encoder(*writer_, CodingPathNode(&node_, count_++));
}

void UnkeyedEncodingContainer::encodeNil() {
    nextChild().encodeNil();
}

}  // namespace foundation
