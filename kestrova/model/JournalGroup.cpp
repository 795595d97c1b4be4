#include "kestrova/model/JournalGroup.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"

namespace kestrova {

namespace {

using foundation::Required;

using Fields = foundation::RecordFields<
    Required<"id", &JournalGroup::id>,
    Required<"index", &JournalGroup::index>,
    Required<"name", &JournalGroup::name>,
    Required<"daily", &JournalGroup::daily>,
    Required<"isCollapsed", &JournalGroup::isCollapsed>>;

}  // namespace

JournalGroup JournalGroup::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void JournalGroup::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

void JournalGroup::hash(foundation::Hasher& hasher) const { Fields::hash(hasher, *this); }

}  // namespace kestrova
