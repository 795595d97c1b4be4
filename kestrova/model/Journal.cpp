#include "kestrova/model/Journal.hpp"

#include "platform/runtime/base/Verify.hpp"
#include "platform/runtime/foundation/coding/RecordFields.hpp"
#include "platform/runtime/foundation/core/URLComponents.hpp"
#include "kestrova/model/User.hpp"

#include <string>

namespace kestrova {

namespace {

using foundation::Optional;
using foundation::Required;

// In the service's key order, which is not the order of the members.
using Fields = foundation::RecordFields<
    Required<"id", &Journal::id>,
    Required<"title", &Journal::title>,
    Required<"description", &Journal::description>,
    Required<"slug", &Journal::slug>,
    Optional<"iconLink", &Journal::iconLink>,
    Optional<"iconEmoji", &Journal::iconEmoji>,
    Optional<"isDaily", &Journal::isDaily>,
    Optional<"index", &Journal::index>,
    Optional<"notTodayIndex", &Journal::notTodayIndex>,
    Optional<"streak", &Journal::streak>,
    Optional<"streakDate", &Journal::streakDate>,
    Optional<"skippedAt", &Journal::skippedAt>,
    Optional<"entries", &Journal::entries>,
    Optional<"user", &Journal::user>,
    Optional<"pinned_entry_id", &Journal::pinnedEntryId>,
    Optional<"entryTemplate", &Journal::entryTemplate>,
    Optional<"entryTemplateActive", &Journal::entryTemplateActive>,
    Optional<"marathon", &Journal::marathon>,
    Optional<"collaborators", &Journal::collaborators>,
    Optional<"archived", &Journal::archived>,
    Optional<"website", &Journal::website>,
    Optional<"isOwner", &Journal::isOwner>,
    Optional<"isCollaborator", &Journal::isCollaborator>,
    Optional<"isShadowing", &Journal::isShadowing>,
    Optional<"isStreakMissedByOneDay", &Journal::isStreakMissedByOneDay>,
    Optional<"isScheduled", &Journal::isScheduled>,
    Optional<"isDue", &Journal::isDue>,
    Optional<"nextStreakDate", &Journal::nextStreakDate>,
    Optional<"entriesToday", &Journal::entriesToday>,
    Optional<"entry_number", &Journal::entryNumber>,
    Optional<"last_entry_at", &Journal::lastEntryAt>,
    Required<"private", &Journal::isPrivate>,
    Optional<"open", &Journal::isOpen>,
    Optional<"shouldDisplayStreak", &Journal::shouldDisplayStreak>,
    foundation::Uncoded<&Journal::iconImageData>>;

}  // namespace

Journal Journal::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void Journal::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

void Journal::hash(foundation::Hasher& hasher) const { Fields::hash(hasher, *this); }

std::optional<foundation::URL> Journal::createEntryURL() const {
    auto components = foundation::URLComponents::fromString("kestrova://");
    std::optional<foundation::URL> url;
    if (components) {
        components->setPath("/create-entry");
        const std::string journalId = std::to_string(id);
        if (user) {
            components->setQueryItems(std::vector<foundation::URLQueryItem>{
                {"username", user->username.str()}, {"journalSlug", slug.str()}, {"journalId", journalId}});
        } else {
            components->setQueryItems(std::vector<foundation::URLQueryItem>{{"journalId", journalId}});
        }
        url = components->url();
    }
    VERIFY(url.has_value(),
           "the create-entry link always forms: its scheme and path are fixed and every value is percent-encoded");
    return url;
}

bool operator==(const Journal&, const Journal&) = default;

}  // namespace kestrova
