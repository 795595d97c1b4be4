#include "kestrova/model/User.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"

namespace kestrova {

namespace {

using foundation::Optional;
using foundation::Required;

using Fields = foundation::RecordFields<
    Required<"id", &User::id>,
    Required<"username", &User::username>,
    Optional<"email", &User::email>,
    Optional<"twitterUsername", &User::twitterUsername>,
    Optional<"journals", &User::journals>,
    Optional<"numberOfEntries", &User::numberOfEntries>,
    Optional<"numberOfMarathons", &User::numberOfMarathons>,
    Optional<"avatarLink", &User::avatarLink>,
    Optional<"website", &User::website>,
    Optional<"timezone", &User::timezone>,
    Optional<"weeklySummary", &User::weeklySummary>,
    Optional<"emailNotifications", &User::emailNotifications>,
    Optional<"reminderNotifications", &User::reminderNotifications>,
    Optional<"numberOfEntriesToday", &User::numberOfEntriesToday>,
    Optional<"journalGroups", &User::journalGroups>,
    Optional<"metrics", &User::metrics>,
    Optional<"quietMode", &User::quietMode>,
    Optional<"boost", &User::boost>,
    Optional<"plus", &User::plus>>;

}  // namespace

User User::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void User::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

void User::hash(foundation::Hasher& hasher) const { Fields::hash(hasher, *this); }

}  // namespace kestrova
