#include "tools/standin/StoredEntry.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"

namespace standin {

namespace {

using foundation::Optional;
using foundation::Required;

using BlockFields = foundation::RecordFields<
    Required<"index", &StoredEntry::Block::index>,
    Required<"type", &StoredEntry::Block::type>,
    Optional<"text", &StoredEntry::Block::text>,
    Optional<"fileName", &StoredEntry::Block::fileName>,
    Optional<"mimeType", &StoredEntry::Block::mimeType>,
    Optional<"size", &StoredEntry::Block::size>>;

using EntryFields = foundation::RecordFields<
    Required<"id", &StoredEntry::id>,
    Required<"journalId", &StoredEntry::journalId>,
    Required<"streakDate", &StoredEntry::streakDate>,
    Required<"private", &StoredEntry::isPrivate>,
    Required<"isPartOfStreak", &StoredEntry::isPartOfStreak>,
    Required<"createdAt", &StoredEntry::createdAt>,
    Required<"blocks", &StoredEntry::blocks>>;

}  // namespace

StoredEntry::Block StoredEntry::Block::decode(foundation::Decoder& decoder) { return BlockFields::decode(decoder); }

void StoredEntry::Block::encode(foundation::Encoder& encoder) const { BlockFields::encode(encoder, *this); }

StoredEntry StoredEntry::decode(foundation::Decoder& decoder) { return EntryFields::decode(decoder); }

void StoredEntry::encode(foundation::Encoder& encoder) const { EntryFields::encode(encoder, *this); }

}  // namespace standin
