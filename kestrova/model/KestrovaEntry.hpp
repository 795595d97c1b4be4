#pragma once

#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/core/Text.hpp"
#include "kestrova/model/Indirect.hpp"
#include "kestrova/model/KestrovaBlock.hpp"
#include "kestrova/model/KestrovaComment.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrova {

struct Journal;
struct User;

// One published entry of a journal.
struct KestrovaEntry {
    std::int64_t id = 0;
    std::optional<foundation::Date> createdAt;
    std::optional<foundation::Date> updatedAt;
    std::optional<foundation::Date> lastViewedAt;
    std::optional<foundation::Text> previewURL;
    Indirect<User> user;
    std::optional<std::int64_t> userId;
    Indirect<Journal> journal;
    std::optional<std::int64_t> journalId;
    Indirect<std::vector<KestrovaComment>> comments;
    std::optional<std::int64_t> commentCount;
    std::optional<std::int64_t> unreadCommentCount;
    std::optional<bool> isPrivate;
    Indirect<std::vector<KestrovaBlock>> blocks;

    static KestrovaEntry decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
    friend bool operator==(const KestrovaEntry&, const KestrovaEntry&);
    void hash(foundation::Hasher& hasher) const;
};

}  // namespace kestrova
