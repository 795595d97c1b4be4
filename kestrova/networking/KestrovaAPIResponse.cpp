#include "kestrova/networking/KestrovaAPIResponse.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"

namespace kestrova {

namespace {

using Fields = foundation::RecordFields<foundation::Required<"message", &KestrovaAPIResponse::message>>;

}  // namespace

KestrovaAPIResponse KestrovaAPIResponse::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void KestrovaAPIResponse::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

}  // namespace kestrova
