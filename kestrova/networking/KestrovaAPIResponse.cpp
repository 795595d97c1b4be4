#include "kestrova/networking/KestrovaAPIResponse.hpp"

#include "platform/foundation/Decoder.hpp"
#include "platform/foundation/Encoder.hpp"
#include "platform/foundation/KeyedDecodingContainer.hpp"
#include "platform/foundation/KeyedEncodingContainer.hpp"

namespace kestrova {

KestrovaAPIResponse KestrovaAPIResponse::decode(foundation::Decoder& decoder) {
    return KestrovaAPIResponse{.message = decoder.container().decode<foundation::Text>("message")};
}

void KestrovaAPIResponse::encode(foundation::Encoder& encoder) const {
    encoder.container().encode("message", message);
}

}  // namespace kestrova
