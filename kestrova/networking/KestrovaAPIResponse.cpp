#include "kestrova/networking/KestrovaAPIResponse.hpp"

#include "foundation/Decoder.hpp"
#include "foundation/Encoder.hpp"
#include "foundation/KeyedDecodingContainer.hpp"
#include "foundation/KeyedEncodingContainer.hpp"

namespace kestrova {

KestrovaAPIResponse KestrovaAPIResponse::decode(foundation::Decoder& decoder) {
    return KestrovaAPIResponse{.message = decoder.container().decode<foundation::Text>("message")};
}

void KestrovaAPIResponse::encode(foundation::Encoder& encoder) const {
    encoder.container().encode("message", message);
}

}  // namespace kestrova
