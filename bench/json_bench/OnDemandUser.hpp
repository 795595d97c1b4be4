#pragma once

#include "platform/runtime/foundation/core/UUID.hpp"
#include "kestrova/model/BlockType.hpp"

#include <simdjson.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The cached user's records as plain structs, filled by a simdjson On-Demand
// reader straight from the JSON: a straightforward reader of these records,
// against which the project's decoder is measured. The fields, key names and
// required keys are those the records' own decode reads; dates are the same
// numbers of seconds since the reference date, kept as they are, and UUIDs
// their 16 bytes. A record that links to another (an entry's author or
// journal, a comment's entry) holds it on the heap, as the project's records
// do: in place, every entry would carry room for a journal, and every
// comment room for an entry.
namespace bench::plain {

using UUIDBytes = foundation::UUID::Bytes;

struct Journal;
struct KestrovaComment;

struct JournalGroup {
    UUIDBytes id{};
    std::int64_t index = 0;
    std::string name;
    bool daily = false;
    bool isCollapsed = false;
};

struct Metric {
    UUIDBytes id{};
    std::string name;
    std::string unit;
    std::optional<double> defaultValue;
};

struct User {
    std::int64_t id = 0;
    std::string username;
    std::optional<std::string> email;
    std::optional<std::string> twitterUsername;
    std::optional<std::vector<Journal>> journals;
    std::optional<std::int64_t> numberOfEntries;
    std::optional<std::int64_t> numberOfMarathons;
    std::optional<std::string> avatarLink;
    std::optional<std::string> website;
    std::optional<std::string> timezone;
    std::optional<bool> weeklySummary;
    std::optional<bool> emailNotifications;
    std::optional<bool> reminderNotifications;
    std::optional<std::int64_t> numberOfEntriesToday;
    std::optional<std::vector<JournalGroup>> journalGroups;
    std::optional<std::vector<Metric>> metrics;
    std::optional<bool> quietMode;
    std::optional<bool> boost;
    std::optional<bool> plus;
};

struct KestrovaBlockFile {
    std::int64_t id = 0;
    std::optional<std::int64_t> width;
    std::optional<std::int64_t> height;
    std::optional<float> duration;
    std::int64_t size = 0;
    std::string mimeType;
    std::string url;
};

struct KestrovaBlock {
    std::int64_t id = 0;
    std::int64_t index = 0;
    kestrova::BlockType type = kestrova::BlockType::unknown;
    std::optional<std::string> text;
    std::optional<KestrovaBlockFile> originalFile;
    std::optional<KestrovaBlockFile> defaultFile;
    std::optional<KestrovaBlockFile> previewFile;
    std::optional<KestrovaBlockFile> coverFile;
};

struct KestrovaEntry;

struct Journal {
    std::int64_t id = 0;
    std::string title;
    std::string description;
    std::string slug;
    std::optional<std::string> iconLink;
    std::optional<std::string> iconEmoji;
    std::optional<bool> isDaily;
    std::optional<std::int64_t> index;
    std::optional<std::int64_t> notTodayIndex;
    std::optional<std::int64_t> entryNumber;
    std::optional<double> lastEntryAt;
    std::optional<std::int64_t> entriesToday;
    std::optional<std::int64_t> streak;
    std::optional<std::string> streakDate;
    std::optional<std::string> skippedAt;
    std::optional<std::vector<KestrovaEntry>> entries;
    std::unique_ptr<User> user;
    std::optional<std::int64_t> pinnedEntryId;
    std::optional<bool> isOpen;
    bool isPrivate = false;
    std::optional<std::string> entryTemplate;
    std::optional<bool> entryTemplateActive;
    std::optional<bool> marathon;
    std::optional<std::vector<User>> collaborators;
    std::optional<bool> archived;
    std::optional<std::string> website;
    std::optional<bool> isOwner;
    std::optional<bool> isCollaborator;
    std::optional<bool> isShadowing;
    std::optional<bool> isStreakMissedByOneDay;
    std::optional<bool> isScheduled;
    std::optional<bool> isDue;
    std::optional<std::string> nextStreakDate;
    std::optional<bool> shouldDisplayStreak;
};

struct KestrovaEntry {
    std::int64_t id = 0;
    std::optional<double> createdAt;
    std::optional<double> updatedAt;
    std::optional<double> lastViewedAt;
    std::optional<std::string> previewURL;
    std::unique_ptr<User> user;
    std::optional<std::int64_t> userId;
    std::unique_ptr<Journal> journal;
    std::optional<std::int64_t> journalId;
    std::optional<std::vector<KestrovaComment>> comments;
    std::optional<std::int64_t> commentCount;
    std::optional<std::int64_t> unreadCommentCount;
    std::optional<bool> isPrivate;
    std::optional<std::vector<KestrovaBlock>> blocks;
};

struct KestrovaComment {
    UUIDBytes id{};
    std::string value;
    double date = 0;
    std::unique_ptr<User> user;
    std::unique_ptr<KestrovaEntry> entry;
    std::optional<double> createdAt;
    std::optional<double> updatedAt;
};

}  // namespace bench::plain

namespace bench {

// Reads a cached user's JSON into plain::User. Keeps its parser and its
// padded copy of the input from one read to the next, as the project's
// decoder keeps its document. Bad input throws: simdjson::simdjson_error for
// JSON that is malformed or of the wrong type, std::runtime_error for a
// missing key or a malformed UUID.
class OnDemandUserReader {
public:
    plain::User read(std::string_view json);

private:
    simdjson::ondemand::parser parser_;
    std::string padded_;
};

}  // namespace bench
