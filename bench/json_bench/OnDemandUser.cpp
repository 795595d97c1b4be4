#include "bench/json_bench/OnDemandUser.hpp"

#include <simdjson.h>

#include <array>
#include <bitset>
#include <cstring>
#include <span>
#include <stdexcept>
#include <utility>

namespace bench {
namespace {

using simdjson::ondemand::value;

// The keys a record cannot do without, as the records' own decode requires
// them; a record that lacks one fails the read, as it fails the decoder.
class RequiredKeys {
public:
    static constexpr std::size_t maximumCount = 8;

    RequiredKeys(std::string_view record, std::span<const std::string_view> keys) noexcept
        : record_(record), keys_(keys) {}

    void saw(std::size_t key) noexcept { seen_.set(key); }

    void check() const {
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            if (!seen_.test(i)) {
                throw std::runtime_error(std::string(record_) + " has no value for the key \"" +
                                         std::string(keys_[i]) + "\"");
            }
        }
    }

private:
    std::string_view record_;
    std::span<const std::string_view> keys_;
    std::bitset<maximumCount> seen_;
};

constexpr std::array<std::string_view, 2> userKeys = {"id", "username"};
constexpr std::array<std::string_view, 5> journalKeys = {"id", "title", "description", "slug", "private"};
constexpr std::array<std::string_view, 1> entryKeys = {"id"};
constexpr std::array<std::string_view, 3> commentKeys = {"id", "value", "date"};
constexpr std::array<std::string_view, 3> blockKeys = {"id", "index", "type"};
constexpr std::array<std::string_view, 4> fileKeys = {"id", "size", "mimeType", "url"};
constexpr std::array<std::string_view, 5> groupKeys = {"id", "index", "name", "daily", "isCollapsed"};
constexpr std::array<std::string_view, 3> metricKeys = {"id", "name", "unit"};

std::int64_t integer(value& v) {
    return v.get_int64().value();
}

double number(value& v) {
    return v.get_double().value();
}

float singleNumber(value& v) {
    return static_cast<float>(number(v));
}

bool boolean(value& v) {
    return v.get_bool().value();
}

std::string text(value& v) {
    return std::string(v.get_string().value());
}

plain::UUIDBytes uuid(value& v) {
    const std::string_view string = v.get_string().value();
    const auto id = foundation::UUID::fromString(string);
    if (!id) {
        throw std::runtime_error("\"" + std::string(string) + "\" is no UUID");
    }
    return id->bytes();
}

kestrova::BlockType blockType(value& v) {
    return kestrova::decodedBlockType(v.get_string().value());
}

// A null reads as no value, as an absent key does.
template <typename Read>
auto ifPresent(value& v, Read read) -> std::optional<decltype(read(v))> {
    if (v.is_null().value()) {
        return std::nullopt;
    }
    return read(v);
}

template <typename Read>
auto onHeapIfPresent(value& v, Read read) -> std::unique_ptr<decltype(read(v))> {
    if (v.is_null().value()) {
        return nullptr;
    }
    return std::make_unique<decltype(read(v))>(read(v));
}

template <typename Read>
auto list(value& v, Read read) -> std::vector<decltype(read(v))> {
    std::vector<decltype(read(v))> items;
    for (auto element : v.get_array()) {
        value item = element.value();
        items.push_back(read(item));
    }
    return items;
}

// Calls visit(key, value) for each field of the object, in the order
// written. The key is compared as it is written, unescaped only where it
// differs from the name, which is the way On-Demand is meant to be read: a
// key spelt with escapes ("\u0069d") matches no field here.
template <typename Visit>
void forEachField(value& object, Visit visit) {
    for (auto field : object.get_object()) {
        const simdjson::ondemand::raw_json_string key = field.key().value();
        value fieldValue = field.value().value();
        visit(key, fieldValue);
    }
}

plain::User user(value& v);
plain::Journal journal(value& v);
plain::KestrovaEntry entry(value& v);

plain::JournalGroup journalGroup(value& v) {
    plain::JournalGroup g;
    RequiredKeys required("a journal group", groupKeys);
    forEachField(v, [&](simdjson::ondemand::raw_json_string key, value& field) {
        if (key == "id") {
            g.id = uuid(field);
            required.saw(0);
        } else if (key == "index") {
            g.index = integer(field);
            required.saw(1);
        } else if (key == "name") {
            g.name = text(field);
            required.saw(2);
        } else if (key == "daily") {
            g.daily = boolean(field);
            required.saw(3);
        } else if (key == "isCollapsed") {
            g.isCollapsed = boolean(field);
            required.saw(4);
        }
    });
    required.check();
    return g;
}

plain::Metric metric(value& v) {
    plain::Metric m;
    RequiredKeys required("a metric", metricKeys);
    forEachField(v, [&](simdjson::ondemand::raw_json_string key, value& field) {
        if (key == "id") {
            m.id = uuid(field);
            required.saw(0);
        } else if (key == "name") {
            m.name = text(field);
            required.saw(1);
        } else if (key == "unit") {
            m.unit = text(field);
            required.saw(2);
        } else if (key == "defaultValue") {
            m.defaultValue = ifPresent(field, number);
        }
    });
    required.check();
    return m;
}

plain::KestrovaBlockFile blockFile(value& v) {
    plain::KestrovaBlockFile f;
    RequiredKeys required("a block's file", fileKeys);
    forEachField(v, [&](simdjson::ondemand::raw_json_string key, value& field) {
        if (key == "id") {
            f.id = integer(field);
            required.saw(0);
        } else if (key == "width") {
            f.width = ifPresent(field, integer);
        } else if (key == "height") {
            f.height = ifPresent(field, integer);
        } else if (key == "duration") {
            f.duration = ifPresent(field, singleNumber);
        } else if (key == "size") {
            f.size = integer(field);
            required.saw(1);
        } else if (key == "mimeType") {
            f.mimeType = text(field);
            required.saw(2);
        } else if (key == "url") {
            f.url = text(field);
            required.saw(3);
        }
    });
    required.check();
    return f;
}

plain::KestrovaBlock block(value& v) {
    plain::KestrovaBlock b;
    RequiredKeys required("a block", blockKeys);
    forEachField(v, [&](simdjson::ondemand::raw_json_string key, value& field) {
        if (key == "id") {
            b.id = integer(field);
            required.saw(0);
        } else if (key == "index") {
            b.index = integer(field);
            required.saw(1);
        } else if (key == "type") {
            b.type = blockType(field);
            required.saw(2);
        } else if (key == "text") {
            b.text = ifPresent(field, text);
        } else if (key == "originalFile") {
            b.originalFile = ifPresent(field, blockFile);
        } else if (key == "defaultFile") {
            b.defaultFile = ifPresent(field, blockFile);
        } else if (key == "previewFile") {
            b.previewFile = ifPresent(field, blockFile);
        } else if (key == "coverFile") {
            b.coverFile = ifPresent(field, blockFile);
        }
    });
    required.check();
    return b;
}

plain::KestrovaComment comment(value& v) {
    plain::KestrovaComment c;
    RequiredKeys required("a comment", commentKeys);
    forEachField(v, [&](simdjson::ondemand::raw_json_string key, value& field) {
        if (key == "id") {
            c.id = uuid(field);
            required.saw(0);
        } else if (key == "value") {
            c.value = text(field);
            required.saw(1);
        } else if (key == "date") {
            c.date = number(field);
            required.saw(2);
        } else if (key == "user") {
            c.user = onHeapIfPresent(field, user);
        } else if (key == "entry") {
            c.entry = onHeapIfPresent(field, entry);
        } else if (key == "createdAt") {
            c.createdAt = ifPresent(field, number);
        } else if (key == "updatedAt") {
            c.updatedAt = ifPresent(field, number);
        }
    });
    required.check();
    return c;
}

plain::KestrovaEntry entry(value& v) {
    plain::KestrovaEntry e;
    RequiredKeys required("an entry", entryKeys);
    const auto comments = [](value& field) { return list(field, comment); };
    const auto blocks = [](value& field) { return list(field, block); };
    forEachField(v, [&](simdjson::ondemand::raw_json_string key, value& field) {
        if (key == "id") {
            e.id = integer(field);
            required.saw(0);
        } else if (key == "createdAt") {
            e.createdAt = ifPresent(field, number);
        } else if (key == "updatedAt") {
            e.updatedAt = ifPresent(field, number);
        } else if (key == "lastViewedAt") {
            e.lastViewedAt = ifPresent(field, number);
        } else if (key == "user") {
            e.user = onHeapIfPresent(field, user);
        } else if (key == "journal") {
            e.journal = onHeapIfPresent(field, journal);
        } else if (key == "comments") {
            e.comments = ifPresent(field, comments);
        } else if (key == "commentCount") {
            e.commentCount = ifPresent(field, integer);
        } else if (key == "unreadCommentCount") {
            e.unreadCommentCount = ifPresent(field, integer);
        } else if (key == "previewURL") {
            e.previewURL = ifPresent(field, text);
        } else if (key == "blocks") {
            e.blocks = ifPresent(field, blocks);
        } else if (key == "journal_id") {
            e.journalId = ifPresent(field, integer);
        } else if (key == "user_id") {
            e.userId = ifPresent(field, integer);
        } else if (key == "private") {
            e.isPrivate = ifPresent(field, boolean);
        }
    });
    required.check();
    return e;
}

plain::Journal journal(value& v) {
    plain::Journal j;
    RequiredKeys required("a journal", journalKeys);
    const auto entries = [](value& field) { return list(field, entry); };
    const auto users = [](value& field) { return list(field, user); };
    forEachField(v, [&](simdjson::ondemand::raw_json_string key, value& field) {
        if (key == "id") {
            j.id = integer(field);
            required.saw(0);
        } else if (key == "title") {
            j.title = text(field);
            required.saw(1);
        } else if (key == "description") {
            j.description = text(field);
            required.saw(2);
        } else if (key == "slug") {
            j.slug = text(field);
            required.saw(3);
        } else if (key == "iconLink") {
            j.iconLink = ifPresent(field, text);
        } else if (key == "iconEmoji") {
            j.iconEmoji = ifPresent(field, text);
        } else if (key == "isDaily") {
            j.isDaily = ifPresent(field, boolean);
        } else if (key == "index") {
            j.index = ifPresent(field, integer);
        } else if (key == "notTodayIndex") {
            j.notTodayIndex = ifPresent(field, integer);
        } else if (key == "streak") {
            j.streak = ifPresent(field, integer);
        } else if (key == "streakDate") {
            j.streakDate = ifPresent(field, text);
        } else if (key == "skippedAt") {
            j.skippedAt = ifPresent(field, text);
        } else if (key == "entries") {
            j.entries = ifPresent(field, entries);
        } else if (key == "user") {
            j.user = onHeapIfPresent(field, user);
        } else if (key == "pinned_entry_id") {
            j.pinnedEntryId = ifPresent(field, integer);
        } else if (key == "entryTemplate") {
            j.entryTemplate = ifPresent(field, text);
        } else if (key == "entryTemplateActive") {
            j.entryTemplateActive = ifPresent(field, boolean);
        } else if (key == "marathon") {
            j.marathon = ifPresent(field, boolean);
        } else if (key == "collaborators") {
            j.collaborators = ifPresent(field, users);
        } else if (key == "archived") {
            j.archived = ifPresent(field, boolean);
        } else if (key == "website") {
            j.website = ifPresent(field, text);
        } else if (key == "isOwner") {
            j.isOwner = ifPresent(field, boolean);
        } else if (key == "isCollaborator") {
            j.isCollaborator = ifPresent(field, boolean);
        } else if (key == "isShadowing") {
            j.isShadowing = ifPresent(field, boolean);
        } else if (key == "isStreakMissedByOneDay") {
            j.isStreakMissedByOneDay = ifPresent(field, boolean);
        } else if (key == "isScheduled") {
            j.isScheduled = ifPresent(field, boolean);
        } else if (key == "isDue") {
            j.isDue = ifPresent(field, boolean);
        } else if (key == "nextStreakDate") {
            j.nextStreakDate = ifPresent(field, text);
        } else if (key == "entriesToday") {
            j.entriesToday = ifPresent(field, integer);
        } else if (key == "entry_number") {
            j.entryNumber = ifPresent(field, integer);
        } else if (key == "last_entry_at") {
            j.lastEntryAt = ifPresent(field, number);
        } else if (key == "private") {
            j.isPrivate = boolean(field);
            required.saw(4);
        } else if (key == "open") {
            j.isOpen = ifPresent(field, boolean);
        } else if (key == "shouldDisplayStreak") {
            j.shouldDisplayStreak = ifPresent(field, boolean);
        }
    });
    required.check();
    return j;
}

plain::User user(value& v) {
    plain::User u;
    RequiredKeys required("a user", userKeys);
    const auto journals = [](value& field) { return list(field, journal); };
    const auto groups = [](value& field) { return list(field, journalGroup); };
    const auto metrics = [](value& field) { return list(field, metric); };
    forEachField(v, [&](simdjson::ondemand::raw_json_string key, value& field) {
        if (key == "id") {
            u.id = integer(field);
            required.saw(0);
        } else if (key == "username") {
            u.username = text(field);
            required.saw(1);
        } else if (key == "email") {
            u.email = ifPresent(field, text);
        } else if (key == "twitterUsername") {
            u.twitterUsername = ifPresent(field, text);
        } else if (key == "journals") {
            u.journals = ifPresent(field, journals);
        } else if (key == "numberOfEntries") {
            u.numberOfEntries = ifPresent(field, integer);
        } else if (key == "numberOfMarathons") {
            u.numberOfMarathons = ifPresent(field, integer);
        } else if (key == "avatarLink") {
            u.avatarLink = ifPresent(field, text);
        } else if (key == "website") {
            u.website = ifPresent(field, text);
        } else if (key == "timezone") {
            u.timezone = ifPresent(field, text);
        } else if (key == "weeklySummary") {
            u.weeklySummary = ifPresent(field, boolean);
        } else if (key == "emailNotifications") {
            u.emailNotifications = ifPresent(field, boolean);
        } else if (key == "reminderNotifications") {
            u.reminderNotifications = ifPresent(field, boolean);
        } else if (key == "numberOfEntriesToday") {
            u.numberOfEntriesToday = ifPresent(field, integer);
        } else if (key == "journalGroups") {
            u.journalGroups = ifPresent(field, groups);
        } else if (key == "metrics") {
            u.metrics = ifPresent(field, metrics);
        } else if (key == "quietMode") {
            u.quietMode = ifPresent(field, boolean);
        } else if (key == "boost") {
            u.boost = ifPresent(field, boolean);
        } else if (key == "plus") {
            u.plus = ifPresent(field, boolean);
        }
    });
    required.check();
    return u;
}

}  // namespace

plain::User OnDemandUserReader::read(std::string_view json) {
    // simdjson reads up to SIMDJSON_PADDING bytes past the end of the text.
    padded_.resize(json.size() + simdjson::SIMDJSON_PADDING);
    std::memcpy(padded_.data(), json.data(), json.size());
    auto document = parser_.iterate(padded_.data(), json.size(), padded_.size()).value();
    value root = document.get_value().value();
    return user(root);
}

}  // namespace bench
