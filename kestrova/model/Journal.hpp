#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/core/Text.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "kestrova/model/Indirect.hpp"
#include "kestrova/model/KestrovaEntry.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrova {

struct User;

// One journal of the service: identity, icon, daily and streak state,
// counters and ownership, and, when the server includes them, its entries,
// its owner and its collaborators.
struct Journal {
    std::int64_t id = 0;
    foundation::Text title;
    foundation::Text description;
    foundation::Text slug;
    std::optional<foundation::Text> iconLink;
    std::optional<foundation::Text> iconEmoji;
    // The icon's bytes once a view has fetched them; never coded.
    std::optional<foundation::Data> iconImageData;
    std::optional<bool> isDaily;
    std::optional<std::int64_t> index;
    std::optional<std::int64_t> notTodayIndex;
    std::optional<std::int64_t> entryNumber;
    std::optional<foundation::Date> lastEntryAt;
    std::optional<std::int64_t> entriesToday;
    std::optional<std::int64_t> streak;
    // Day texts as the server writes them; compared, never parsed.
    std::optional<foundation::Text> streakDate;
    std::optional<foundation::Text> skippedAt;
    Indirect<std::vector<KestrovaEntry>> entries;
    Indirect<User> user;
    std::optional<std::int64_t> pinnedEntryId;
    std::optional<bool> isOpen;
    bool isPrivate = false;
    std::optional<foundation::Text> entryTemplate;
    std::optional<bool> entryTemplateActive;
    std::optional<bool> marathon;
    Indirect<std::vector<User>> collaborators;
    std::optional<bool> archived;
    std::optional<foundation::Text> website;
    std::optional<bool> isOwner;
    std::optional<bool> isCollaborator;
    std::optional<bool> isShadowing;
    std::optional<bool> isStreakMissedByOneDay;
    std::optional<bool> isScheduled;
    std::optional<bool> isDue;
    std::optional<foundation::Text> nextStreakDate;
    std::optional<bool> shouldDisplayStreak;

    // The deep link that opens this journal's publish page in the application:
    // kestrova:///create-entry?journalId=7, with the owner's username and the
    // slug in front when the owner is known.
    [[nodiscard]] std::optional<foundation::URL> createEntryURL() const;

    static Journal decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
    friend bool operator==(const Journal&, const Journal&);
    void hash(foundation::Hasher& hasher) const;
};

}  // namespace kestrova
