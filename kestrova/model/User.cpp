#include "kestrova/model/User.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

namespace kestrova {

User User::decode(foundation::Decoder& decoder) {
    using foundation::Text;
    const auto c = decoder.container();
    User u;
    u.id = c.decode<std::int64_t>("id");
    u.username = c.decode<Text>("username");
    u.email = c.decodeIfPresent<Text>("email");
    u.twitterUsername = c.decodeIfPresent<Text>("twitterUsername");
    u.journals = c.decodeIfPresent<std::vector<Journal>>("journals");
    u.numberOfEntries = c.decodeIfPresent<std::int64_t>("numberOfEntries");
    u.numberOfMarathons = c.decodeIfPresent<std::int64_t>("numberOfMarathons");
    u.avatarLink = c.decodeIfPresent<Text>("avatarLink");
    u.website = c.decodeIfPresent<Text>("website");
    u.timezone = c.decodeIfPresent<Text>("timezone");
    u.weeklySummary = c.decodeIfPresent<bool>("weeklySummary");
    u.emailNotifications = c.decodeIfPresent<bool>("emailNotifications");
    u.reminderNotifications = c.decodeIfPresent<bool>("reminderNotifications");
    u.numberOfEntriesToday = c.decodeIfPresent<std::int64_t>("numberOfEntriesToday");
    u.journalGroups = c.decodeIfPresent<std::vector<JournalGroup>>("journalGroups");
    u.metrics = c.decodeIfPresent<std::vector<Metric>>("metrics");
    u.quietMode = c.decodeIfPresent<bool>("quietMode");
    u.boost = c.decodeIfPresent<bool>("boost");
    u.plus = c.decodeIfPresent<bool>("plus");
    return u;
}

void User::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("username", username);
    c.encodeIfPresent("email", email);
    c.encodeIfPresent("twitterUsername", twitterUsername);
    c.encodeIfPresent("journals", journals.get());
    c.encodeIfPresent("numberOfEntries", numberOfEntries);
    c.encodeIfPresent("numberOfMarathons", numberOfMarathons);
    c.encodeIfPresent("avatarLink", avatarLink);
    c.encodeIfPresent("website", website);
    c.encodeIfPresent("timezone", timezone);
    c.encodeIfPresent("weeklySummary", weeklySummary);
    c.encodeIfPresent("emailNotifications", emailNotifications);
    c.encodeIfPresent("reminderNotifications", reminderNotifications);
    c.encodeIfPresent("numberOfEntriesToday", numberOfEntriesToday);
    c.encodeIfPresent("journalGroups", journalGroups.get());
    c.encodeIfPresent("metrics", metrics.get());
    c.encodeIfPresent("quietMode", quietMode);
    c.encodeIfPresent("boost", boost);
    c.encodeIfPresent("plus", plus);
}

void User::hash(foundation::Hasher& hasher) const {
    hasher.combine(id);
    hasher.combine(username);
    hasher.combine(email);
    hasher.combine(twitterUsername);
    hasher.combine(journals);
    hasher.combine(numberOfEntries);
    hasher.combine(numberOfMarathons);
    hasher.combine(avatarLink);
    hasher.combine(website);
    hasher.combine(timezone);
    hasher.combine(weeklySummary);
    hasher.combine(emailNotifications);
    hasher.combine(reminderNotifications);
    hasher.combine(numberOfEntriesToday);
    hasher.combine(journalGroups);
    hasher.combine(metrics);
    hasher.combine(quietMode);
    hasher.combine(boost);
    hasher.combine(plus);
}

}  // namespace kestrova
