#include "kestrova/networking/KestrovaAPIResponse.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

namespace kestrova {

KestrovaAPIResponse KestrovaAPIResponse::decode(foundation::Decoder& decoder) {
    return KestrovaAPIResponse{.message = decoder.container().decode<foundation::Text>("message")};
}

void KestrovaAPIResponse::encode(foundation::Encoder& encoder) const {
    encoder.container().encode("message", message);
}

}  // namespace kestrova
