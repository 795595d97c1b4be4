#pragma once

#include "platform/runtime/foundation/core/Text.hpp"
#include "kestrova/model/Indirect.hpp"
#include "kestrova/model/Journal.hpp"
#include "kestrova/model/JournalGroup.hpp"
#include "kestrova/model/Metric.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrova {

// A user of the service; as the signed-in user, with their journals, groups and metrics.
struct User {
    std::int64_t id = 0;
    foundation::Text username;
    std::optional<foundation::Text> email;
    std::optional<foundation::Text> twitterUsername;
    Indirect<std::vector<Journal>> journals;
    std::optional<std::int64_t> numberOfEntries;
    std::optional<std::int64_t> numberOfMarathons;
    std::optional<foundation::Text> avatarLink;
    std::optional<foundation::Text> website;
    std::optional<foundation::Text> timezone;
    std::optional<bool> weeklySummary;
    std::optional<bool> emailNotifications;
    std::optional<bool> reminderNotifications;
    std::optional<std::int64_t> numberOfEntriesToday;
    Indirect<std::vector<JournalGroup>> journalGroups;
    Indirect<std::vector<Metric>> metrics;
    std::optional<bool> quietMode;
    std::optional<bool> boost;
    std::optional<bool> plus;

    static User decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
    friend bool operator==(const User&, const User&) = default;
    void hash(foundation::Hasher& hasher) const;
};

}  // namespace kestrova
