#pragma once

#include "platform/runtime/foundation/core/Text.hpp"

namespace foundation {
class Decoder;
class Encoder;
}  // namespace foundation

namespace kestrova {

// The body the server sends with a refusal.
struct KestrovaAPIResponse {
    foundation::Text message;

    static KestrovaAPIResponse decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
};

}  // namespace kestrova
