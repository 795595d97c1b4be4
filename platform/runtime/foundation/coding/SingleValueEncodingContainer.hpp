#pragma once

#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

namespace foundation {

// One JSON value written as a whole: what an enumeration carried as text writes to.
class SingleValueEncodingContainer {
public:
    // Writes the value in place of the encoder's; a second value is a programming error.
    template <typename T>
    void encode(const T& value) {
        encoder_->wrote();
        Encoder inPlace(*encoder_->writer_, encoder_->node_);
        inPlace.encode(value);
    }

    void encodeNil() { encoder_->encodeNil(); }

    [[nodiscard]] CodingPath codingPath() const { return encoder_->codingPath(); }

private:
    friend class Encoder;

    explicit SingleValueEncodingContainer(Encoder& encoder) : encoder_(&encoder) {}

    Encoder* encoder_;
};

}  // namespace foundation
