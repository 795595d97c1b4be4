#include "platform/foundation/UnkeyedDecodingContainer.hpp"

#include "platform/foundation/internal/DecodingContext.hpp"
#include "platform/foundation/DecodingError.hpp"
#include "platform/foundation/KeyedDecodingContainer.hpp"

namespace foundation {
namespace {

// The parser's element count stops at this value; longer lists are counted.
constexpr std::size_t saturatedCount = simdjson::internal::JSON_COUNT_MASK;

}  // namespace

UnkeyedDecodingContainer::UnkeyedDecodingContainer(DecodingContext& context, std::size_t listIndex,
                                                   CodingPathNode node)
    : context_(&context), node_(node), position_(listIndex + 1), count_(context.at(listIndex).scope_count()) {
    if (count_ == saturatedCount) {
        const std::size_t end = context.at(listIndex).matching_brace_index() - 1;
        count_ = 0;
        for (std::size_t index = position_; index < end; index = context.at(index).after_element()) {
            ++count_;
        }
    }
}

Decoder UnkeyedDecodingContainer::next() const {
    const CodingPathNode element(&node_, currentIndex_);
    if (isAtEnd()) {
        throw DecodingError(DecodingError::Kind::valueNotFound, element.path(),
                            "Unkeyed container is at end.");
    }
    return Decoder(*context_, position_, element);
}

void UnkeyedDecodingContainer::advance() {
    position_ = context_->at(position_).after_element();
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
