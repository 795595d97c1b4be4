#include "platform/runtime/foundation/coding/UnkeyedDecodingContainer.hpp"

#include "platform/runtime/foundation/coding/internal/DecodingContext.hpp"
#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"

namespace foundation {
UnkeyedDecodingContainer::UnkeyedDecodingContainer(DecodingContext& context, std::size_t listIndex,
                                                   CodingPathNode node)
    : context_(&context), node_(node), position_(listIndex + 1), count_(context.at(listIndex).count) {}

Decoder UnkeyedDecodingContainer::next() const {
    const CodingPathNode element(&node_, currentIndex_);
    if (isAtEnd()) {
        throw DecodingError(DecodingError::Kind::valueNotFound, element.path(),
                            "Unkeyed container is at end.");
    }
    return Decoder(*context_, position_, element);
}

void UnkeyedDecodingContainer::advance() {
    position_ = context_->document().after(position_);
    ++currentIndex_;
}

bool UnkeyedDecodingContainer::decodeNil() {
    if (!next().isNull()) {
        return false;
    }
    advance();
    return true;
}

KeyedDecodingContainer UnkeyedDecodingContainer::nestedContainer() {
    KeyedDecodingContainer nested = next().container();
    advance();
    return nested;
}

UnkeyedDecodingContainer UnkeyedDecodingContainer::nestedUnkeyedContainer() {
    UnkeyedDecodingContainer nested = next().unkeyedContainer();
    advance();
    return nested;
}

}  // namespace foundation
