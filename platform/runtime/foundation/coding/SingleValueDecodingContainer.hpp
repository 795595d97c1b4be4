#pragma once

#include "platform/runtime/foundation/coding/UnkeyedDecodingContainer.hpp"

namespace foundation {

// One JSON value read as a whole: what an enumeration carried as text, or a
// date rule, decodes from.
class SingleValueDecodingContainer {
public:
    [[nodiscard]] bool decodeNil() const { return decoder_.isNull(); }

    template <typename T>
    T decode() const {
        Decoder value = decoder_;
        return value.decode<T>();
    }

    [[nodiscard]] CodingPath codingPath() const { return decoder_.codingPath(); }

private:
    friend class Decoder;

    explicit SingleValueDecodingContainer(const Decoder& decoder) : decoder_(decoder) {}

    Decoder decoder_;
};

}  // namespace foundation
