#include "kestrova/model/KestrovaComment.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"
#include "kestrova/model/KestrovaEntry.hpp"
#include "kestrova/model/User.hpp"

namespace kestrova {

namespace {

using foundation::Optional;
using foundation::Required;

using Fields = foundation::RecordFields<
    Required<"id", &KestrovaComment::id>,
    Required<"value", &KestrovaComment::value>,
    Required<"date", &KestrovaComment::date>,
    Optional<"user", &KestrovaComment::user>,
    Optional<"entry", &KestrovaComment::entry>,
    Optional<"createdAt", &KestrovaComment::createdAt>,
    Optional<"updatedAt", &KestrovaComment::updatedAt>>;

}  // namespace

KestrovaComment KestrovaComment::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void KestrovaComment::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

void KestrovaComment::hash(foundation::Hasher& hasher) const { Fields::hash(hasher, *this); }

bool operator==(const KestrovaComment&, const KestrovaComment&) = default;

}  // namespace kestrova
