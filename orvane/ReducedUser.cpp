#include "orvane/ReducedUser.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"
#include "platform/runtime/foundation/coding/UnkeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/UnkeyedEncodingContainer.hpp"

namespace orvane {

ReducedUser ReducedUser::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    return ReducedUser{
        .id = c.decode<std::int64_t>("id"),
        .journals = c.decodeIfPresent<std::vector<KestrovaJournal>>("journals"),
    };
}

void ReducedUser::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encodeIfPresent("journals", journals);
}

}  // namespace orvane
