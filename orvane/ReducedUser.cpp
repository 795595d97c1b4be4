#include "orvane/ReducedUser.hpp"

#include "platform/foundation/Decoder.hpp"
#include "platform/foundation/Encoder.hpp"
#include "platform/foundation/KeyedDecodingContainer.hpp"
#include "platform/foundation/KeyedEncodingContainer.hpp"
#include "platform/foundation/UnkeyedDecodingContainer.hpp"
#include "platform/foundation/UnkeyedEncodingContainer.hpp"

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
