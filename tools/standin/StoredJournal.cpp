#include "tools/standin/StoredJournal.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

namespace standin {

StoredJournal StoredJournal::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    return {.id = c.decode<std::int64_t>("id"),
            .title = c.decode<std::string>("title"),
            .description = c.decode<std::string>("description"),
            .slug = c.decode<std::string>("slug"),
            .iconEmoji = c.decodeIfPresent<std::string>("iconEmoji"),
            .isDaily = c.decode<bool>("isDaily"),
            .isScheduled = c.decode<bool>("isScheduled"),
            .isPrivate = c.decode<bool>("private"),
            .streak = c.decode<std::int64_t>("streak"),
            .streakDate = c.decodeIfPresent<std::string>("streakDate"),
            .entries = c.decode<std::vector<StoredEntry>>("entries")};
}

void StoredJournal::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("title", title);
    c.encode("description", description);
    c.encode("slug", slug);
    c.encodeIfPresent("iconEmoji", iconEmoji);
    c.encode("isDaily", isDaily);
    c.encode("isScheduled", isScheduled);
    c.encode("private", isPrivate);
    c.encode("streak", streak);
    c.encodeIfPresent("streakDate", streakDate);
    c.encode("entries", entries);
}

}  // namespace standin
