#include "bench/json_bench/HeavyUser.hpp"

#include "platform/runtime/foundation/core/UUID.hpp"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace bench {
namespace {

using foundation::Date;
using foundation::Text;
using kestrova::BlockType;
using kestrova::Journal;
using kestrova::KestrovaBlock;
using kestrova::KestrovaBlockFile;
using kestrova::KestrovaComment;
using kestrova::KestrovaEntry;
using kestrova::User;

// Words of several scripts, so that the decoder's strings are not all ASCII:
// precomposed and decomposed accents, CJK, Cyrillic, Greek, emoji (one with a
// zero-width joiner), and the characters JSON must escape.
constexpr std::array<std::string_view, 24> words = {
    "morning", "walk", "by the lake", "sunrise", "notes", "run",
    "caf\u00e9", "cafe\u0301", "na\u00efve", "r\u00e9sum\u00e9", "gr\u00fc\u00dfe", "Z\u00fcrich",
    "\u2615", "\U0001F305", "\U0001F3C3\u200D\u2640\uFE0F",
    "\u65e5\u8a18", "\u66f8\u304f", "\u043f\u0440\u0438\u0432\u0435\u0442",
    "\u03b7\u03bc\u03ad\u03c1\u03b1", "\u00e5rsdag",
    "\"quoted\"", "line\nbreak", "tab\there", "back\\slash",
};

// The three emoji among the words, for journal icons.
constexpr std::size_t firstEmoji = 12;
constexpr std::size_t emojiCount = 3;

constexpr std::array<std::string_view, 5> mimeTypes = {"image/jpeg", "image/heic", "video/mp4",
                                                       "audio/m4a", "application/pdf"};

constexpr std::array<BlockType, 6> blockTypes = {BlockType::text,  BlockType::image, BlockType::text,
                                                 BlockType::video, BlockType::audio, BlockType::file};

// Built by appending: GCC 12 at -O3 misreports a literal added to a std::string.
std::string joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const auto part : parts) {
        text.append(part);
    }
    return text;
}

// 2023-04-05 00:00:00 UTC in milliseconds since the reference date.
constexpr std::int64_t baseMilliseconds = 702345600000;

// Draws the user's contents from a fixed seed. The engine's output is fixed
// by the standard; only plain arithmetic is applied to it, so every library
// gives the same user.
class Generator {
public:
    User user(int journalCount, int entriesPerJournal) {
        makeAuthors();
        User u = author(0);
        u.email = Text("ann-marie@example.org");
        u.numberOfEntries = journalCount * entriesPerJournal;
        u.numberOfMarathons = 3;
        u.website = Text("https://ann-marie.example.org/\u00fcber");
        u.timezone = Text("Europe/Z\u00fcrich");
        u.weeklySummary = true;
        u.emailNotifications = false;
        u.numberOfEntriesToday = 2;
        u.quietMode = false;
        u.plus = true;
        std::vector<Journal> journals;
        journals.reserve(static_cast<std::size_t>(journalCount));
        for (int i = 0; i < journalCount; ++i) {
            journals.push_back(journal(i, entriesPerJournal));
        }
        u.journals = std::move(journals);
        std::vector<kestrova::JournalGroup> groups;
        for (int i = 0; i < 24; ++i) {
            groups.push_back({uuid(), i, phrase(2), chance(30), chance(50)});
        }
        u.journalGroups = std::move(groups);
        std::vector<kestrova::Metric> metrics;
        for (int i = 0; i < 12; ++i) {
            metrics.push_back({uuid(), phrase(1), Text(i % 2 == 0 ? "kg" : "\u00b0C"),
                               chance(60) ? std::optional<double>(below(1000) / 8.0) : std::nullopt});
        }
        u.metrics = std::move(metrics);
        return u;
    }

private:
    std::uint64_t below(std::uint64_t bound) { return engine_() % bound; }
    bool chance(int percent) { return below(100) < static_cast<std::uint64_t>(percent); }

    std::int64_t id() { return static_cast<std::int64_t>(100000 + below(900000000)); }

    Date date() {
        // One division of whole milliseconds, as the server's text reads back.
        constexpr std::uint64_t span = 400ull * 24 * 3600 * 1000;  // the 400 days before the base
        const auto milliseconds = baseMilliseconds - static_cast<std::int64_t>(below(span));
        return Date::fromTimeIntervalSinceReferenceDate(static_cast<double>(milliseconds) / 1000.0);
    }

    std::optional<Date> maybeDate(int percent) {
        return chance(percent) ? std::optional(date()) : std::nullopt;
    }

    foundation::UUID uuid() {
        foundation::UUID::Bytes bytes{};
        for (auto& byte : bytes) {
            byte = static_cast<std::uint8_t>(below(256));
        }
        return foundation::UUID(bytes);
    }

    Text phrase(int wordCount) {
        std::string text;
        for (int i = 0; i < wordCount; ++i) {
            if (i > 0) {
                text += ' ';
            }
            text += words[below(words.size())];
        }
        return text;
    }

    std::optional<Text> maybePhrase(int percent, int wordCount) {
        return chance(percent) ? std::optional(phrase(wordCount)) : std::nullopt;
    }

    static Text link(std::string_view kind, std::int64_t number) {
        return joined({"https://cdn.kestrova.example/", kind, "/", std::to_string(number), ".jpg"});
    }

    void makeAuthors() {
        for (int i = 0; i < 48; ++i) {
            User a;
            a.id = id();
            a.username = joined({"writer-", std::to_string(i), i % 3 == 0 ? "-\u00e9crivain" : ""});
            if (chance(70)) {
                a.avatarLink = link("avatars", a.id);
            }
            if (chance(50)) {
                a.plus = chance(50);
            }
            authors_.push_back(std::move(a));
        }
    }

    const User& author(std::size_t index) const { return authors_[index]; }
    const User& anyAuthor() { return authors_[below(authors_.size())]; }

    KestrovaBlockFile file(std::string_view kind, BlockType type) {
        KestrovaBlockFile f;
        f.id = id();
        if (type == BlockType::image || type == BlockType::video) {
            f.width = static_cast<std::int64_t>(320 + below(3700));
            f.height = static_cast<std::int64_t>(240 + below(2800));
        }
        if (type == BlockType::audio || type == BlockType::video) {
            f.duration = static_cast<float>(below(36000)) / 10.0f;
        }
        f.size = static_cast<std::int64_t>(1000 + below(50000000));
        f.mimeType = mimeTypes[below(mimeTypes.size())];
        f.url = link(kind, f.id);
        return f;
    }

    KestrovaBlock block(std::int64_t index) {
        KestrovaBlock b;
        b.id = id();
        b.index = index;
        b.type = blockTypes[below(blockTypes.size())];
        if (b.type == BlockType::text) {
            b.text = phrase(static_cast<int>(8 + below(40)));
            return b;
        }
        b.text = maybePhrase(20, 4);
        b.originalFile = file("original", b.type);
        b.defaultFile = file("default", b.type);
        if (chance(70)) {
            b.previewFile = file("preview", b.type);
        }
        if (b.type == BlockType::video) {
            b.coverFile = file("cover", BlockType::image);
        }
        return b;
    }

    KestrovaComment comment() {
        KestrovaComment c;
        c.id = uuid();
        c.value = phrase(static_cast<int>(3 + below(12)));
        c.date = date();
        if (chance(90)) {
            c.user = anyAuthor();
        }
        c.createdAt = maybeDate(80);
        c.updatedAt = maybeDate(30);
        return c;
    }

    KestrovaEntry entry(std::int64_t journalId) {
        KestrovaEntry e;
        e.id = id();
        e.createdAt = date();
        e.updatedAt = maybeDate(70);
        e.lastViewedAt = maybeDate(40);
        e.previewURL = link("previews", e.id);
        if (chance(50)) {
            e.user = anyAuthor();
            e.userId = e.user->id;
        }
        e.journalId = journalId;
        const auto commentCount = below(4);
        if (commentCount > 0) {
            std::vector<KestrovaComment> comments;
            for (std::uint64_t i = 0; i < commentCount; ++i) {
                comments.push_back(comment());
            }
            e.comments = std::move(comments);
        }
        e.commentCount = static_cast<std::int64_t>(commentCount);
        if (chance(50)) {
            e.unreadCommentCount = static_cast<std::int64_t>(below(commentCount + 1));
        }
        if (chance(60)) {
            e.isPrivate = chance(30);
        }
        std::vector<KestrovaBlock> blocks;
        const auto blockCount = 1 + below(4);
        for (std::uint64_t i = 0; i < blockCount; ++i) {
            blocks.push_back(block(static_cast<std::int64_t>(i)));
        }
        e.blocks = std::move(blocks);
        return e;
    }

    Journal journal(int index, int entryCount) {
        Journal j;
        j.id = id();
        j.title = phrase(static_cast<int>(1 + below(4)));
        j.description = chance(60) ? phrase(static_cast<int>(4 + below(20))) : Text();
        j.slug = joined({"journal-", std::to_string(index)});
        if (chance(50)) {
            j.iconLink = link("icons", j.id);
        } else {
            j.iconEmoji = Text(words[firstEmoji + below(emojiCount)]);
        }
        j.isDaily = chance(40);
        j.index = index;
        if (chance(70)) {
            j.notTodayIndex = static_cast<std::int64_t>(below(300));
        }
        j.entryNumber = entryCount;
        j.lastEntryAt = date();
        j.entriesToday = static_cast<std::int64_t>(below(3));
        j.streak = static_cast<std::int64_t>(below(400));
        j.streakDate = joined({"2023-04-0", std::to_string(1 + below(5))});
        if (chance(20)) {
            j.skippedAt = joined({"2023-03-2", std::to_string(below(10))});
        }
        std::vector<KestrovaEntry> entries;
        entries.reserve(static_cast<std::size_t>(entryCount));
        for (int i = 0; i < entryCount; ++i) {
            entries.push_back(entry(j.id));
        }
        if (!entries.empty() && chance(30)) {
            j.pinnedEntryId = entries.front().id;
        }
        j.entries = std::move(entries);
        j.user = author(0);
        j.isOpen = chance(20);
        j.isPrivate = chance(50);
        if (chance(25)) {
            j.entryTemplate = phrase(10);
            j.entryTemplateActive = chance(50);
        }
        j.marathon = chance(10);
        if (chance(30)) {
            j.collaborators = std::vector<User>{anyAuthor(), anyAuthor()};
        }
        j.archived = chance(5);
        if (chance(15)) {
            j.website = link("sites", j.id);
        }
        j.isOwner = true;
        j.isCollaborator = false;
        j.isShadowing = chance(5);
        j.isStreakMissedByOneDay = chance(10);
        j.isScheduled = chance(20);
        j.isDue = chance(50);
        j.nextStreakDate = Text("2023-04-06");
        if (chance(80)) {
            j.shouldDisplayStreak = chance(70);
        }
        return j;
    }

    std::mt19937_64 engine_{20230405};
    std::vector<User> authors_;
};

}  // namespace

User makeHeavyUser(int journalCount, int entriesPerJournal) {
    return Generator().user(journalCount, entriesPerJournal);
}

}  // namespace bench
