#pragma once

// The shape of the cached signed-in user, for measuring the JSON coding: a
// user with journals, their entries, blocks with files and comments, journal
// groups and metrics. Plain records; they read and write their keys the way
// the service's records do, so the coders do the same work.

#include "foundation/Decoder.hpp"
#include "foundation/Encoder.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bench {

using foundation::Data;
using foundation::Date;
using foundation::Decoder;
using foundation::Encoder;
using foundation::Text;
using foundation::UUID;

struct BlockKind {
    enum Value { audio, image, text, video, file, unknown };
    Value value = unknown;

    static BlockKind decode(Decoder& decoder);
    void encode(Encoder& encoder) const;
};

struct BlockFile {
    std::int64_t id = 0;
    std::optional<std::int64_t> width;
    std::optional<std::int64_t> height;
    std::optional<float> duration;
    std::int64_t size = 0;
    Text mimeType;
    Text url;
    std::optional<Data> placeholder;

    static BlockFile decode(Decoder& decoder);
    void encode(Encoder& encoder) const;
};

struct Block {
    std::int64_t id = 0;
    std::int64_t index = 0;
    BlockKind type;
    std::optional<Text> text;
    std::optional<BlockFile> originalFile;
    std::optional<BlockFile> defaultFile;
    std::optional<BlockFile> previewFile;
    std::optional<BlockFile> coverFile;

    static Block decode(Decoder& decoder);
    void encode(Encoder& encoder) const;
};

struct Author {
    std::int64_t id = 0;
    Text username;
    std::optional<Text> avatarLink;
    std::optional<bool> plus;

    static Author decode(Decoder& decoder);
    void encode(Encoder& encoder) const;
};

struct Comment {
    UUID id{UUID::Bytes{}};
    Text value;
    Date date;
    std::optional<Author> user;
    std::optional<Date> createdAt;
    std::optional<Date> updatedAt;

    static Comment decode(Decoder& decoder);
    void encode(Encoder& encoder) const;
};

struct Entry {
    std::int64_t id = 0;
    std::optional<Date> createdAt;
    std::optional<Date> updatedAt;
    std::optional<Date> lastViewedAt;
    std::optional<Text> previewURL;
    std::optional<Author> user;
    std::optional<std::int64_t> userId;
    std::optional<std::int64_t> journalId;
    std::optional<std::vector<Comment>> comments;
    std::optional<std::int64_t> commentCount;
    std::optional<std::int64_t> unreadCommentCount;
    std::optional<bool> isPrivate;
    std::optional<std::vector<Block>> blocks;

    static Entry decode(Decoder& decoder);
    void encode(Encoder& encoder) const;
};

struct Journal {
    std::int64_t id = 0;
    Text title;
    Text description;
    Text slug;
    std::optional<Text> iconLink;
    std::optional<Text> iconEmoji;
    std::optional<bool> isDaily;
    std::optional<std::int64_t> index;
    std::optional<std::int64_t> notTodayIndex;
    std::optional<std::int64_t> entryNumber;
    std::optional<Date> lastEntryAt;
    std::optional<std::int64_t> entriesToday;
    std::optional<std::int64_t> streak;
    std::optional<Text> streakDate;
    std::optional<Text> skippedAt;
    std::optional<std::vector<Entry>> entries;
    std::optional<Author> user;
    std::optional<std::int64_t> pinnedEntryId;
    std::optional<bool> isOpen;
    bool isPrivate = false;
    std::optional<Text> entryTemplate;
    std::optional<bool> entryTemplateActive;
    std::optional<bool> marathon;
    std::optional<std::vector<Author>> collaborators;
    std::optional<bool> archived;
    std::optional<Text> website;
    std::optional<bool> isOwner;
    std::optional<bool> isCollaborator;
    std::optional<bool> isShadowing;
    std::optional<bool> isStreakMissedByOneDay;
    std::optional<bool> isScheduled;
    std::optional<bool> isDue;
    std::optional<Text> nextStreakDate;
    std::optional<bool> shouldDisplayStreak;

    static Journal decode(Decoder& decoder);
    void encode(Encoder& encoder) const;
};

struct JournalGroup {
    UUID id{UUID::Bytes{}};
    std::int64_t index = 0;
    Text name;
    bool daily = false;
    bool isCollapsed = false;

    static JournalGroup decode(Decoder& decoder);
    void encode(Encoder& encoder) const;
};

struct Metric {
    UUID id{UUID::Bytes{}};
    Text name;
    Text unit;
    std::optional<double> defaultValue;

    static Metric decode(Decoder& decoder);
    void encode(Encoder& encoder) const;
};

struct User {
    std::int64_t id = 0;
    Text username;
    std::optional<Text> email;
    std::optional<Text> twitterUsername;
    std::optional<std::vector<Journal>> journals;
    std::optional<std::int64_t> numberOfEntries;
    std::optional<std::int64_t> numberOfMarathons;
    std::optional<Text> avatarLink;
    std::optional<Text> website;
    std::optional<Text> timezone;
    std::optional<bool> weeklySummary;
    std::optional<bool> emailNotifications;
    std::optional<bool> reminderNotifications;
    std::optional<std::int64_t> numberOfEntriesToday;
    std::optional<std::vector<JournalGroup>> journalGroups;
    std::optional<std::vector<Metric>> metrics;
    std::optional<bool> quietMode;
    std::optional<bool> boost;
    std::optional<bool> plus;

    static User decode(Decoder& decoder);
    void encode(Encoder& encoder) const;
};

// A heavy signed-in user: `journalCount` journals of `entriesPerJournal`
// entries each, with blocks, files and comments; texts mix ASCII with other
// scripts and emoji. The same arguments always give the same user.
User makeHeavyUser(int journalCount, int entriesPerJournal);

}  // namespace bench
