#include "orvane/KestrovaJournal.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

namespace orvane {

KestrovaJournal KestrovaJournal::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    return KestrovaJournal{
        .id = c.decode<std::int64_t>("id"),
        .title = c.decode<std::string>("title"),
        .isDaily = c.decode<bool>("isDaily"),
        .iconEmoji = c.decodeIfPresent<std::string>("iconEmoji"),
    };
}

void KestrovaJournal::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("title", title);
    c.encode("isDaily", isDaily);
    c.encodeIfPresent("iconEmoji", iconEmoji);
}

}  // namespace orvane
