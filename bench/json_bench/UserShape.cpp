#include "UserShape.hpp"

#include "foundation/KeyedDecodingContainer.hpp"
#include "foundation/KeyedEncodingContainer.hpp"
#include "foundation/SingleValueDecodingContainer.hpp"
#include "foundation/SingleValueEncodingContainer.hpp"

#include <array>
#include <random>

namespace bench {
namespace {

constexpr std::array<std::string_view, 6> blockKindNames = {"audio", "image", "text",
                                                            "video", "file",  "unknown"};

}  // namespace

BlockKind BlockKind::decode(Decoder& decoder) {
    const auto raw = decoder.singleValueContainer().decode<std::string>();
    for (std::size_t i = 0; i < blockKindNames.size(); ++i) {
        if (raw == blockKindNames[i]) {
            return {static_cast<Value>(i)};
        }
    }
    return {unknown};
}

void BlockKind::encode(Encoder& encoder) const {
    encoder.singleValueContainer().encode(blockKindNames[value]);
}

BlockFile BlockFile::decode(Decoder& decoder) {
    auto c = decoder.container();
    BlockFile f;
    f.id = c.decode<std::int64_t>("id");
    f.width = c.decodeIfPresent<std::int64_t>("width");
    f.height = c.decodeIfPresent<std::int64_t>("height");
    f.duration = c.decodeIfPresent<float>("duration");
    f.size = c.decode<std::int64_t>("size");
    f.mimeType = c.decode<Text>("mimeType");
    f.url = c.decode<Text>("url");
    f.placeholder = c.decodeIfPresent<Data>("placeholder");
    return f;
}

void BlockFile::encode(Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encodeIfPresent("width", width);
    c.encodeIfPresent("height", height);
    c.encodeIfPresent("duration", duration);
    c.encode("size", size);
    c.encode("mimeType", mimeType);
    c.encode("url", url);
    c.encodeIfPresent("placeholder", placeholder);
}

Block Block::decode(Decoder& decoder) {
    auto c = decoder.container();
    Block b;
    b.id = c.decode<std::int64_t>("id");
    b.index = c.decode<std::int64_t>("index");
    b.type = c.decode<BlockKind>("type");
    b.text = c.decodeIfPresent<Text>("text");
    b.originalFile = c.decodeIfPresent<BlockFile>("originalFile");
    b.defaultFile = c.decodeIfPresent<BlockFile>("defaultFile");
    b.previewFile = c.decodeIfPresent<BlockFile>("previewFile");
    b.coverFile = c.decodeIfPresent<BlockFile>("coverFile");
    return b;
}

void Block::encode(Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("index", index);
    c.encode("type", type);
    c.encodeIfPresent("text", text);
    c.encodeIfPresent("originalFile", originalFile);
    c.encodeIfPresent("defaultFile", defaultFile);
    c.encodeIfPresent("previewFile", previewFile);
    c.encodeIfPresent("coverFile", coverFile);
}

Author Author::decode(Decoder& decoder) {
    auto c = decoder.container();
    Author a;
    a.id = c.decode<std::int64_t>("id");
    a.username = c.decode<Text>("username");
    a.avatarLink = c.decodeIfPresent<Text>("avatarLink");
    a.plus = c.decodeIfPresent<bool>("plus");
    return a;
}

void Author::encode(Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("username", username);
    c.encodeIfPresent("avatarLink", avatarLink);
    c.encodeIfPresent("plus", plus);
}

Comment Comment::decode(Decoder& decoder) {
    auto c = decoder.container();
    Comment m;
    m.id = c.decode<UUID>("id");
    m.value = c.decode<Text>("value");
    m.date = c.decode<Date>("date");
    m.user = c.decodeIfPresent<Author>("user");
    m.createdAt = c.decodeIfPresent<Date>("createdAt");
    m.updatedAt = c.decodeIfPresent<Date>("updatedAt");
    return m;
}

void Comment::encode(Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("value", value);
    c.encode("date", date);
    c.encodeIfPresent("user", user);
    c.encodeIfPresent("createdAt", createdAt);
    c.encodeIfPresent("updatedAt", updatedAt);
}

Entry Entry::decode(Decoder& decoder) {
    auto c = decoder.container();
    Entry e;
    e.id = c.decode<std::int64_t>("id");
    e.createdAt = c.decodeIfPresent<Date>("createdAt");
    e.updatedAt = c.decodeIfPresent<Date>("updatedAt");
    e.lastViewedAt = c.decodeIfPresent<Date>("lastViewedAt");
    e.user = c.decodeIfPresent<Author>("user");
    e.comments = c.decodeIfPresent<std::vector<Comment>>("comments");
    e.commentCount = c.decodeIfPresent<std::int64_t>("commentCount");
    e.unreadCommentCount = c.decodeIfPresent<std::int64_t>("unreadCommentCount");
    e.previewURL = c.decodeIfPresent<Text>("previewURL");
    e.blocks = c.decodeIfPresent<std::vector<Block>>("blocks");
    e.journalId = c.decodeIfPresent<std::int64_t>("journal_id");
    e.userId = c.decodeIfPresent<std::int64_t>("user_id");
    e.isPrivate = c.decodeIfPresent<bool>("private");
    return e;
}

void Entry::encode(Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encodeIfPresent("createdAt", createdAt);
    c.encodeIfPresent("updatedAt", updatedAt);
    c.encodeIfPresent("lastViewedAt", lastViewedAt);
    c.encodeIfPresent("user", user);
    c.encodeIfPresent("comments", comments);
    c.encodeIfPresent("commentCount", commentCount);
    c.encodeIfPresent("unreadCommentCount", unreadCommentCount);
    c.encodeIfPresent("previewURL", previewURL);
    c.encodeIfPresent("blocks", blocks);
    c.encodeIfPresent("journal_id", journalId);
    c.encodeIfPresent("user_id", userId);
    c.encodeIfPresent("private", isPrivate);
}

Journal Journal::decode(Decoder& decoder) {
    auto c = decoder.container();
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
    j.entries = c.decodeIfPresent<std::vector<Entry>>("entries");
    j.user = c.decodeIfPresent<Author>("user");
    j.pinnedEntryId = c.decodeIfPresent<std::int64_t>("pinned_entry_id");
    j.entryTemplate = c.decodeIfPresent<Text>("entryTemplate");
    j.entryTemplateActive = c.decodeIfPresent<bool>("entryTemplateActive");
    j.marathon = c.decodeIfPresent<bool>("marathon");
    j.collaborators = c.decodeIfPresent<std::vector<Author>>("collaborators");
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
    j.lastEntryAt = c.decodeIfPresent<Date>("last_entry_at");
    j.isPrivate = c.decode<bool>("private");
    j.isOpen = c.decodeIfPresent<bool>("open");
    j.shouldDisplayStreak = c.decodeIfPresent<bool>("shouldDisplayStreak");
    return j;
}

void Journal::encode(Encoder& encoder) const {
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
    c.encodeIfPresent("entries", entries);
    c.encodeIfPresent("user", user);
    c.encodeIfPresent("pinned_entry_id", pinnedEntryId);
    c.encodeIfPresent("entryTemplate", entryTemplate);
    c.encodeIfPresent("entryTemplateActive", entryTemplateActive);
    c.encodeIfPresent("marathon", marathon);
    c.encodeIfPresent("collaborators", collaborators);
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

JournalGroup JournalGroup::decode(Decoder& decoder) {
    auto c = decoder.container();
    JournalGroup g;
    g.id = c.decode<UUID>("id");
    g.index = c.decode<std::int64_t>("index");
    g.name = c.decode<Text>("name");
    g.daily = c.decode<bool>("daily");
    g.isCollapsed = c.decode<bool>("isCollapsed");
    return g;
}

void JournalGroup::encode(Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("index", index);
    c.encode("name", name);
    c.encode("daily", daily);
    c.encode("isCollapsed", isCollapsed);
}

Metric Metric::decode(Decoder& decoder) {
    auto c = decoder.container();
    Metric m;
    m.id = c.decode<UUID>("id");
    m.name = c.decode<Text>("name");
    m.unit = c.decode<Text>("unit");
    m.defaultValue = c.decodeIfPresent<double>("defaultValue");
    return m;
}

void Metric::encode(Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("name", name);
    c.encode("unit", unit);
    c.encodeIfPresent("defaultValue", defaultValue);
}

User User::decode(Decoder& decoder) {
    auto c = decoder.container();
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

void User::encode(Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("username", username);
    c.encodeIfPresent("email", email);
    c.encodeIfPresent("twitterUsername", twitterUsername);
    c.encodeIfPresent("journals", journals);
    c.encodeIfPresent("numberOfEntries", numberOfEntries);
    c.encodeIfPresent("numberOfMarathons", numberOfMarathons);
    c.encodeIfPresent("avatarLink", avatarLink);
    c.encodeIfPresent("website", website);
    c.encodeIfPresent("timezone", timezone);
    c.encodeIfPresent("weeklySummary", weeklySummary);
    c.encodeIfPresent("emailNotifications", emailNotifications);
    c.encodeIfPresent("reminderNotifications", reminderNotifications);
    c.encodeIfPresent("numberOfEntriesToday", numberOfEntriesToday);
    c.encodeIfPresent("journalGroups", journalGroups);
    c.encodeIfPresent("metrics", metrics);
    c.encodeIfPresent("quietMode", quietMode);
    c.encodeIfPresent("boost", boost);
    c.encodeIfPresent("plus", plus);
}

namespace {

// Deterministic filler: the same seed always gives the same user.
class Filler {
public:
    explicit Filler(unsigned seed) : random_(seed) {}

    int number(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }
    bool chance(int percent) { return number(100) < percent; }
    template <typename T>
    std::optional<T> sometimes(int percent, T value) {
        return chance(percent) ? std::optional<T>(std::move(value)) : std::nullopt;
    }

    Text sentence(int words) {
        static constexpr std::array<std::string_view, 16> vocabulary = {
            "morning",
            "pages",
            "caf\u00e9",
            "na\u00efve",
            "\u65e5\u8a18",
            "\u00fcber",
            "run",
            "streak",
            "\U0001F4DD",
            "quiet",
            "\u0436\u0443\u0440\u043d\u0430\u043b",
            "tea",
            "walk",
            "\"quoted\"",
            "a/b",
            "line\nbreak"};
        std::string text;
        for (int i = 0; i < words; ++i) {
            if (i) text += ' ';
            text += vocabulary[static_cast<std::size_t>(number(static_cast<int>(vocabulary.size())))];
        }
        return Text(std::move(text));
    }

    UUID uuid() {
        UUID::Bytes bytes{};
        for (auto& byte : bytes)
            byte = static_cast<std::uint8_t>(number(256));
        return UUID(bytes);
    }

    Date date() {
        return Date::fromTimeIntervalSinceReferenceDate(7.0e8 + number(30000000) + number(1000) / 1000.0);
    }

    Data bytes(int count) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
        for (auto& byte : bytes)
            byte = static_cast<std::uint8_t>(number(256));
        return Data(std::move(bytes));
    }

    Author author() {
        const int id = number(5000);
        return {id, Text("writer_" + std::to_string(id)),
                sometimes(70, Text("https://cdn.kestrova.example/avatars/" + std::to_string(id) + ".jpg")),
                sometimes(50, chance(50))};
    }

    BlockFile file(int id) {
        static constexpr std::array<std::string_view, 4> types = {"image/jpeg", "image/png", "video/mp4",
                                                                  "audio/m4a"};
        return {id,
                sometimes(80, static_cast<std::int64_t>(number(4000))),
                sometimes(80, static_cast<std::int64_t>(number(3000))),
                sometimes(30, static_cast<float>(number(600000)) / 100.0f),
                number(20000000),
                Text(types[static_cast<std::size_t>(number(4))]),
                Text("https://files.kestrova.example/b/" + std::to_string(id) + "/original"),
                sometimes(40, bytes(24))};
    }

    Block block(int id, int index) {
        Block b{id, index, {static_cast<BlockKind::Value>(number(6))}, sometimes(60, sentence(12)), {}, {},
                {}, {}};
        if (chance(50)) {
            b.originalFile = file(id * 4);
            b.defaultFile = sometimes(80, file(id * 4 + 1));
            b.previewFile = sometimes(60, file(id * 4 + 2));
            b.coverFile = sometimes(20, file(id * 4 + 3));
        }
        return b;
    }

    Comment comment() {
        return {uuid(), sentence(8), date(), sometimes(90, author()), date(), sometimes(30, date())};
    }

    Entry entry(int id, int journalId) {
        Entry e{id,
                date(),
                date(),
                sometimes(50, date()),
                sometimes(70, Text("https://kestrova.example/e/" + std::to_string(id))),
                sometimes(60, author()),
                number(5000),
                journalId,
                {},
                number(5),
                number(3),
                chance(20),
                {}};
        if (chance(60)) {
            e.comments.emplace();
            for (int i = number(4); i > 0; --i)
                e.comments->push_back(comment());
        }
        e.blocks.emplace();
        for (int i = 0, n = 1 + number(4); i < n; ++i)
            e.blocks->push_back(block(id * 8 + i, i));
        return e;
    }

    Journal journal(int id, int entryCount) {
        Journal j;
        j.id = id;
        j.title = sentence(3);
        j.description = sentence(10);
        j.slug = Text("journal-" + std::to_string(id));
        j.iconLink = sometimes(50, Text("https://cdn.kestrova.example/icons/" + std::to_string(id) + ".png"));
        j.iconEmoji = sometimes(70, Text("\U0001F4D3"));
        j.isDaily = chance(50);
        j.index = sometimes(80, static_cast<std::int64_t>(number(100)));
        j.notTodayIndex = sometimes(50, static_cast<std::int64_t>(number(100)));
        j.entryNumber = number(900);
        j.lastEntryAt = sometimes(90, date());
        j.entriesToday = number(3);
        j.streak = sometimes(80, static_cast<std::int64_t>(number(400)));
        j.streakDate = sometimes(80, Text("2024-03-" + std::to_string(10 + number(18))));
        j.skippedAt = sometimes(10, Text("2024-02-29"));
        j.entries.emplace();
        for (int i = 0; i < entryCount; ++i)
            j.entries->push_back(entry(id * 1000 + i, id));
        j.user = sometimes(50, author());
        j.pinnedEntryId = sometimes(20, static_cast<std::int64_t>(id * 1000));
        j.isOpen = sometimes(60, chance(50));
        j.isPrivate = chance(40);
        j.entryTemplate = sometimes(20, sentence(6));
        j.entryTemplateActive = sometimes(30, chance(50));
        j.marathon = sometimes(60, false);
        if (chance(30)) {
            j.collaborators.emplace();
            for (int i = 1 + number(3); i > 0; --i)
                j.collaborators->push_back(author());
        }
        j.archived = sometimes(70, chance(10));
        j.website = sometimes(10, Text("https://example.org/" + std::to_string(id)));
        j.isOwner = true;
        j.isCollaborator = chance(20);
        j.isShadowing = sometimes(50, false);
        j.isStreakMissedByOneDay = chance(10);
        j.isScheduled = chance(30);
        j.isDue = chance(60);
        j.nextStreakDate = sometimes(60, Text("2024-03-28"));
        j.shouldDisplayStreak = chance(70);
        return j;
    }

private:
    std::mt19937 random_;
};

}  // namespace

User makeHeavyUser(int journalCount, int entriesPerJournal) {
    Filler fill(20240328);
    User u;
    u.id = 4242;
    u.username = Text("zo\u00eb");
    u.email = Text("zoe@example.org");
    u.journals.emplace();
    for (int i = 0; i < journalCount; ++i)
        u.journals->push_back(fill.journal(i + 1, entriesPerJournal));
    u.numberOfEntries = journalCount * entriesPerJournal;
    u.numberOfMarathons = 3;
    u.avatarLink = Text("https://cdn.kestrova.example/avatars/4242.jpg");
    u.timezone = Text("Europe/Berlin");
    u.weeklySummary = true;
    u.emailNotifications = false;
    u.reminderNotifications = true;
    u.numberOfEntriesToday = 2;
    u.journalGroups.emplace();
    for (int i = 0; i < 12; ++i)
        u.journalGroups->push_back({fill.uuid(), i, fill.sentence(2), i % 2 == 0, false});
    u.metrics.emplace();
    for (int i = 0; i < 20; ++i) {
        u.metrics->push_back({fill.uuid(), fill.sentence(2), Text("km"), fill.sometimes(50, i * 1.25)});
    }
    u.quietMode = false;
    u.plus = true;
    return u;
}

}  // namespace bench
