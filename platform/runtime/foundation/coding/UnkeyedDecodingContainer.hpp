#pragma once

#include "platform/runtime/foundation/coding/Decoder.hpp"

#include <cstddef>
#include <vector>

namespace foundation {

// A JSON list, read element by element from the front.
class UnkeyedDecodingContainer {
public:
    [[nodiscard]] std::size_t count() const noexcept { return count_; }
    [[nodiscard]] bool isAtEnd() const noexcept { return currentIndex_ == count_; }
    [[nodiscard]] std::size_t currentIndex() const noexcept { return currentIndex_; }
    [[nodiscard]] CodingPath codingPath() const { return node_.path(); }

    // True, and moves past it, when the next element is null; past the end fails.
    bool decodeNil();

    // Reads the next element and moves past it; past the end fails.
    template <typename T>
    T decode() {
        Decoder element = next();
        T value = element.decode<T>();
        advance();
        return value;
    }

    KeyedDecodingContainer nestedContainer();
    UnkeyedDecodingContainer nestedUnkeyedContainer();

private:
    friend class Decoder;

    UnkeyedDecodingContainer(DecodingContext& context, std::size_t listIndex, CodingPathNode node);

    // The next element, whose path ends in its position; it fails when there is none.
    [[nodiscard]] Decoder next() const;
    void advance();

    DecodingContext* context_;
    CodingPathNode node_;
    std::size_t position_;  // the next element's entry in the parsed document
    std::size_t count_;
    std::size_t currentIndex_ = 0;
};

template <typename List>
List decodeList(Decoder& decoder) {
    UnkeyedDecodingContainer list = decoder.unkeyedContainer();
    List values;
    values.reserve(list.count());
    while (!list.isAtEnd()) {
        values.push_back(list.decode<typename List::value_type>());
    }
    return values;
}

}  // namespace foundation
