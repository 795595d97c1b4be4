#include "kestrova/model/KestrovaComment.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"
#include "kestrova/model/KestrovaEntry.hpp"
#include "kestrova/model/User.hpp"

namespace kestrova {

KestrovaComment KestrovaComment::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    return KestrovaComment{
        .id = c.decode<foundation::UUID>("id"),
        .value = c.decode<foundation::Text>("value"),
        .date = c.decode<foundation::Date>("date"),
        .user = c.decodeIfPresent<User>("user"),
        .entry = c.decodeIfPresent<KestrovaEntry>("entry"),
        .createdAt = c.decodeIfPresent<foundation::Date>("createdAt"),
        .updatedAt = c.decodeIfPresent<foundation::Date>("updatedAt"),
    };
}

void KestrovaComment::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("value", value);
    c.encode("date", date);
    c.encodeIfPresent("user", user.get());
    c.encodeIfPresent("entry", entry.get());
    c.encodeIfPresent("createdAt", createdAt);
    c.encodeIfPresent("updatedAt", updatedAt);
}

bool operator==(const KestrovaComment&, const KestrovaComment&) = default;

void KestrovaComment::hash(foundation::Hasher& hasher) const {
    hasher.combine(id);
    hasher.combine(value);
    hasher.combine(date);
    hasher.combine(user);
    hasher.combine(entry);
    hasher.combine(createdAt);
    hasher.combine(updatedAt);
}

}  // namespace kestrova
