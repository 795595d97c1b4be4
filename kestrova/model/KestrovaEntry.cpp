#include "kestrova/model/KestrovaEntry.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"
#include "kestrova/model/Journal.hpp"
#include "kestrova/model/User.hpp"

namespace kestrova {

// The keys are read and written in the service's key order, which is not the
// order of the fields.
KestrovaEntry KestrovaEntry::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    KestrovaEntry entry;
    entry.id = c.decode<std::int64_t>("id");
    entry.createdAt = c.decodeIfPresent<foundation::Date>("createdAt");
    entry.updatedAt = c.decodeIfPresent<foundation::Date>("updatedAt");
    entry.lastViewedAt = c.decodeIfPresent<foundation::Date>("lastViewedAt");
    entry.user = c.decodeIfPresent<User>("user");
    entry.journal = c.decodeIfPresent<Journal>("journal");
    entry.comments = c.decodeIfPresent<std::vector<KestrovaComment>>("comments");
    entry.commentCount = c.decodeIfPresent<std::int64_t>("commentCount");
    entry.unreadCommentCount = c.decodeIfPresent<std::int64_t>("unreadCommentCount");
    entry.previewURL = c.decodeIfPresent<foundation::Text>("previewURL");
    entry.blocks = c.decodeIfPresent<std::vector<KestrovaBlock>>("blocks");
    entry.journalId = c.decodeIfPresent<std::int64_t>("journal_id");
    entry.userId = c.decodeIfPresent<std::int64_t>("user_id");
    entry.isPrivate = c.decodeIfPresent<bool>("private");
    return entry;
}

void KestrovaEntry::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encodeIfPresent("createdAt", createdAt);
    c.encodeIfPresent("updatedAt", updatedAt);
    c.encodeIfPresent("lastViewedAt", lastViewedAt);
    c.encodeIfPresent("user", user.get());
    c.encodeIfPresent("journal", journal.get());
    c.encodeIfPresent("comments", comments.get());
    c.encodeIfPresent("commentCount", commentCount);
    c.encodeIfPresent("unreadCommentCount", unreadCommentCount);
    c.encodeIfPresent("previewURL", previewURL);
    c.encodeIfPresent("blocks", blocks.get());
    c.encodeIfPresent("journal_id", journalId);
    c.encodeIfPresent("user_id", userId);
    c.encodeIfPresent("private", isPrivate);
}

bool operator==(const KestrovaEntry&, const KestrovaEntry&) = default;

void KestrovaEntry::hash(foundation::Hasher& hasher) const {
    hasher.combine(id);
    hasher.combine(createdAt);
    hasher.combine(updatedAt);
    hasher.combine(lastViewedAt);
    hasher.combine(previewURL);
    hasher.combine(user);
    hasher.combine(userId);
    hasher.combine(journal);
    hasher.combine(journalId);
    hasher.combine(comments);
    hasher.combine(commentCount);
    hasher.combine(unreadCommentCount);
    hasher.combine(isPrivate);
    hasher.combine(blocks);
}

}  // namespace kestrova
