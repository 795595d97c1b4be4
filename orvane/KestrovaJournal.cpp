#include "orvane/KestrovaJournal.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"

namespace orvane {

namespace {

using foundation::Optional;
using foundation::Required;

using Fields = foundation::RecordFields<
    Required<"id", &KestrovaJournal::id>,
    Required<"title", &KestrovaJournal::title>,
    Required<"isDaily", &KestrovaJournal::isDaily>,
    Optional<"iconEmoji", &KestrovaJournal::iconEmoji>>;

}  // namespace

KestrovaJournal KestrovaJournal::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void KestrovaJournal::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

}  // namespace orvane
