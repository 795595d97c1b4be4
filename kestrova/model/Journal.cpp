#include "kestrova/model/Journal.hpp"

#include "platform/runtime/base/Verify.hpp"
#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"
#include "platform/runtime/foundation/core/URLComponents.hpp"
#include "kestrova/model/User.hpp"

#include <string>

namespace kestrova {

// The keys are read and written in the service's key order, which is not the
// order of the fields.
Journal Journal::decode(foundation::Decoder& decoder) {
    using foundation::Text;
    const auto c = decoder.container();
    Journal j;
    j.id = c.decode<std::int64_t>("id");
    j.title = c.decode<Text>("title");
    j.description = c.decode<Text>("description");
    j.slug = c.decode<Text>("slug");
    j.iconLink = c.decodeIfPresent<Text>("iconLink");
    j.iconEmoji = c.decodeIfPresent<Text>("iconEmoji");
    j.isDaily = c.decodeIfPresent<bool>("isDaily");
    j.index = c.decodeIfPresent<std::int64_t>("index");
    j.notTodayIndex = c.decodeIfPresent<std::int64_t>("notTodayIndex");
    j.streak = c.decodeIfPresent<std::int64_t>("streak");
    j.streakDate = c.decodeIfPresent<Text>("streakDate");
    j.skippedAt = c.decodeIfPresent<Text>("skippedAt");
    j.entries = c.decodeIfPresent<std::vector<KestrovaEntry>>("entries");
    j.user = c.decodeIfPresent<User>("user");
    j.pinnedEntryId = c.decodeIfPresent<std::int64_t>("pinned_entry_id");
    j.entryTemplate = c.decodeIfPresent<Text>("entryTemplate");
    j.entryTemplateActive = c.decodeIfPresent<bool>("entryTemplateActive");
    j.marathon = c.decodeIfPresent<bool>("marathon");
    j.collaborators = c.decodeIfPresent<std::vector<User>>("collaborators");
    j.archived = c.decodeIfPresent<bool>("archived");
    j.website = c.decodeIfPresent<Text>("website");
    j.isOwner = c.decodeIfPresent<bool>("isOwner");
    j.isCollaborator = c.decodeIfPresent<bool>("isCollaborator");
    j.isShadowing = c.decodeIfPresent<bool>("isShadowing");
    j.isStreakMissedByOneDay = c.decodeIfPresent<bool>("isStreakMissedByOneDay");
    j.isScheduled = c.decodeIfPresent<bool>("isScheduled");
    j.isDue = c.decodeIfPresent<bool>("isDue");
    j.nextStreakDate = c.decodeIfPresent<Text>("nextStreakDate");
    j.entriesToday = c.decodeIfPresent<std::int64_t>("entriesToday");
    j.entryNumber = c.decodeIfPresent<std::int64_t>("entry_number");
    j.lastEntryAt = c.decodeIfPresent<foundation::Date>("last_entry_at");
    j.isPrivate = c.decode<bool>("private");
    j.isOpen = c.decodeIfPresent<bool>("open");
    j.shouldDisplayStreak = c.decodeIfPresent<bool>("shouldDisplayStreak");
    return j;
}

void Journal::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("title", title);
    c.encode("description", description);
    c.encode("slug", slug);
    c.encodeIfPresent("iconLink", iconLink);
    c.encodeIfPresent("iconEmoji", iconEmoji);
    c.encodeIfPresent("isDaily", isDaily);
    c.encodeIfPresent("index", index);
    c.encodeIfPresent("notTodayIndex", notTodayIndex);
    c.encodeIfPresent("streak", streak);
    c.encodeIfPresent("streakDate", streakDate);
    c.encodeIfPresent("skippedAt", skippedAt);
    c.encodeIfPresent("entries", entries.get());
    c.encodeIfPresent("user", user.get());
    c.encodeIfPresent("pinned_entry_id", pinnedEntryId);
    c.encodeIfPresent("entryTemplate", entryTemplate);
    c.encodeIfPresent("entryTemplateActive", entryTemplateActive);
    c.encodeIfPresent("marathon", marathon);
    c.encodeIfPresent("collaborators", collaborators.get());
    c.encodeIfPresent("archived", archived);
    c.encodeIfPresent("website", website);
    c.encodeIfPresent("isOwner", isOwner);
    c.encodeIfPresent("isCollaborator", isCollaborator);
    c.encodeIfPresent("isShadowing", isShadowing);
    c.encodeIfPresent("isStreakMissedByOneDay", isStreakMissedByOneDay);
    c.encodeIfPresent("isScheduled", isScheduled);
    c.encodeIfPresent("isDue", isDue);
    c.encodeIfPresent("nextStreakDate", nextStreakDate);
    c.encodeIfPresent("entriesToday", entriesToday);
    c.encodeIfPresent("entry_number", entryNumber);
    c.encodeIfPresent("last_entry_at", lastEntryAt);
    c.encode("private", isPrivate);
    c.encodeIfPresent("open", isOpen);
    c.encodeIfPresent("shouldDisplayStreak", shouldDisplayStreak);
}

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

void Journal::hash(foundation::Hasher& hasher) const {
    hasher.combine(id);
    hasher.combine(title);
    hasher.combine(description);
    hasher.combine(slug);
    hasher.combine(iconLink);
    hasher.combine(iconEmoji);
    hasher.combine(iconImageData);
    hasher.combine(isDaily);
    hasher.combine(index);
    hasher.combine(notTodayIndex);
    hasher.combine(entryNumber);
    hasher.combine(lastEntryAt);
    hasher.combine(entriesToday);
    hasher.combine(streak);
    hasher.combine(streakDate);
    hasher.combine(skippedAt);
    hasher.combine(entries);
    hasher.combine(user);
    hasher.combine(pinnedEntryId);
    hasher.combine(isOpen);
    hasher.combine(isPrivate);
    hasher.combine(entryTemplate);
    hasher.combine(entryTemplateActive);
    hasher.combine(marathon);
    hasher.combine(collaborators);
    hasher.combine(archived);
    hasher.combine(website);
    hasher.combine(isOwner);
    hasher.combine(isCollaborator);
    hasher.combine(isShadowing);
    hasher.combine(isStreakMissedByOneDay);
    hasher.combine(isScheduled);
    hasher.combine(isDue);
    hasher.combine(nextStreakDate);
    hasher.combine(shouldDisplayStreak);
}

}  // namespace kestrova
