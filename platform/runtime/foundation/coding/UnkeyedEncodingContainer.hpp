#pragma once

#include "platform/runtime/foundation/coding/Encoder.hpp"

#include <cstddef>

namespace foundation {

// A JSON list, written element by element in the order of the calls.
class UnkeyedEncodingContainer {
public:
    template <typename T>
    void encode(const T& value) {
        Encoder child = nextChild();
        child.encode(value);
    }

    void encodeNil();

    [[nodiscard]] std::size_t count() const noexcept { return count_; }
    [[nodiscard]] CodingPath codingPath() const { return node_.path(); }

private:
    friend class Encoder;

    UnkeyedEncodingContainer(JSONWriter& writer, CodingPathNode node) : writer_(&writer), node_(node) {}

    // The encoder of the next element, whose path ends in its position.
    Encoder nextChild();

    JSONWriter* writer_;
    CodingPathNode node_;
    std::size_t count_ = 0;
};

template <typename List>
void encodeList(Encoder& encoder, const List& values) {
    UnkeyedEncodingContainer list = encoder.unkeyedContainer();
    for (const auto& value : values) {
        list.encode(value);
    }
}

}  // namespace foundation
