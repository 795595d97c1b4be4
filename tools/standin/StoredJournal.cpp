#include "tools/standin/StoredJournal.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"

namespace standin {

namespace {

using foundation::Optional;
using foundation::Required;

using Fields = foundation::RecordFields<
    Required<"id", &StoredJournal::id>,
    Required<"title", &StoredJournal::title>,
    Required<"description", &StoredJournal::description>,
    Required<"slug", &StoredJournal::slug>,
    Optional<"iconEmoji", &StoredJournal::iconEmoji>,
    Required<"isDaily", &StoredJournal::isDaily>,
    Required<"isScheduled", &StoredJournal::isScheduled>,
    Required<"private", &StoredJournal::isPrivate>,
    Required<"streak", &StoredJournal::streak>,
    Optional<"streakDate", &StoredJournal::streakDate>,
    Required<"entries", &StoredJournal::entries>>;

}  // namespace

StoredJournal StoredJournal::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void StoredJournal::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

}  // namespace standin
