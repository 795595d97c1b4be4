#include "tools/standin/StoredEntry.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

namespace standin {

StoredEntry::Block StoredEntry::Block::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    return {.index = c.decode<std::int64_t>("index"),
            .type = c.decode<std::string>("type"),
            .text = c.decodeIfPresent<std::string>("text"),
            .fileName = c.decodeIfPresent<std::string>("fileName"),
            .mimeType = c.decodeIfPresent<std::string>("mimeType"),
            .size = c.decodeIfPresent<std::int64_t>("size")};
}

void StoredEntry::Block::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("index", index);
    c.encode("type", type);
    c.encodeIfPresent("text", text);
    c.encodeIfPresent("fileName", fileName);
    c.encodeIfPresent("mimeType", mimeType);
    c.encodeIfPresent("size", size);
}

StoredEntry StoredEntry::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    return {.id = c.decode<std::int64_t>("id"),
            .journalId = c.decode<std::int64_t>("journalId"),
            .streakDate = c.decode<std::string>("streakDate"),
            .isPrivate = c.decode<bool>("private"),
            .isPartOfStreak = c.decode<bool>("isPartOfStreak"),
            .createdAt = c.decode<std::string>("createdAt"),
            .blocks = c.decode<std::vector<Block>>("blocks")};
}

void StoredEntry::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("journalId", journalId);
    c.encode("streakDate", streakDate);
    c.encode("private", isPrivate);
    c.encode("isPartOfStreak", isPartOfStreak);
    c.encode("createdAt", createdAt);
    c.encode("blocks", blocks);
}

}  // namespace standin
