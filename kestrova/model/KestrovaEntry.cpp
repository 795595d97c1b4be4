#include "kestrova/model/KestrovaEntry.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"
#include "kestrova/model/Journal.hpp"
#include "kestrova/model/User.hpp"

namespace kestrova {

namespace {

using foundation::Optional;
using foundation::Required;

// In the service's key order, which is not the order of the members.
using Fields = foundation::RecordFields<
    Required<"id", &KestrovaEntry::id>,
    Optional<"createdAt", &KestrovaEntry::createdAt>,
    Optional<"updatedAt", &KestrovaEntry::updatedAt>,
    Optional<"lastViewedAt", &KestrovaEntry::lastViewedAt>,
    Optional<"user", &KestrovaEntry::user>,
    Optional<"journal", &KestrovaEntry::journal>,
    Optional<"comments", &KestrovaEntry::comments>,
    Optional<"commentCount", &KestrovaEntry::commentCount>,
    Optional<"unreadCommentCount", &KestrovaEntry::unreadCommentCount>,
    Optional<"previewURL", &KestrovaEntry::previewURL>,
    Optional<"blocks", &KestrovaEntry::blocks>,
    Optional<"journal_id", &KestrovaEntry::journalId>,
    Optional<"user_id", &KestrovaEntry::userId>,
    Optional<"private", &KestrovaEntry::isPrivate>>;

}  // namespace

KestrovaEntry KestrovaEntry::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void KestrovaEntry::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

void KestrovaEntry::hash(foundation::Hasher& hasher) const { Fields::hash(hasher, *this); }

bool operator==(const KestrovaEntry&, const KestrovaEntry&) = default;

}  // namespace kestrova
