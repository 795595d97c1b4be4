#include "tests/kestrova/model/RecordCoding.hpp"

#include "platform/runtime/foundation/core/URLComponents.hpp"
#include "kestrova/model/Journal.hpp"
#include "kestrova/model/User.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {
namespace {

using namespace fixtures;
using foundation::Data;
using foundation::Date;

constexpr std::string_view minimalJSON =
    R"({"id":7,"title":"Morning pages","description":"Three pages","slug":"morning-pages","private":false})";

// Every key, in the order the service writes them, which is not the order of
// the fields: "entries" and "user" come early, the counters and renamed keys late.
constexpr std::string_view fullJSON =
    R"({"id":7,"title":"Morning pages","description":"Three pages","slug":"morning-pages",)"
    R"("iconLink":"https:\/\/cdn.kestrova.example\/7.png",)"
    "\"iconEmoji\":\"\u2600\","  // written as the UTF-8 it is, not escaped
    R"("isDaily":true,"index":2,"notTodayIndex":3,"streak":12,"streakDate":"2024-03-01",)"
    R"("skippedAt":"2024-02-28","entries":[{"id":41}],"user":{"id":2,"username":"u1"},)"
    R"("pinned_entry_id":41,"entryTemplate":"Today I","entryTemplateActive":false,"marathon":true,)"
    R"("collaborators":[],"archived":false,"website":"https:\/\/example.org","isOwner":true,)"
    R"("isCollaborator":false,"isShadowing":false,"isStreakMissedByOneDay":true,"isScheduled":false,)"
    R"("isDue":true,"nextStreakDate":"2024-03-02","entriesToday":1,"entry_number":40,)"
    R"("last_entry_at":730000000.5,"private":true,"open":false,"shouldDisplayStreak":true})";

Journal minimalJournal() {
    Journal j;
    j.id = 7;
    j.title = "Morning pages";
    j.description = "Three pages";
    j.slug = "morning-pages";
    return j;
}

Journal fullJournal() {
    Journal j = minimalJournal();
    j.iconLink = "https://cdn.kestrova.example/7.png";
    j.iconEmoji = "\u2600";
    j.isDaily = true;
    j.index = 2;
    j.notTodayIndex = 3;
    j.entryNumber = 40;
    j.lastEntryAt = Date::fromTimeIntervalSinceReferenceDate(730000000.5);
    j.entriesToday = 1;
    j.streak = 12;
    j.streakDate = "2024-03-01";
    j.skippedAt = "2024-02-28";
    KestrovaEntry entry;
    entry.id = 41;
    j.entries = std::vector<KestrovaEntry>{entry};
    User owner;
    owner.id = 2;
    owner.username = "u1";
    j.user = owner;
    j.pinnedEntryId = 41;
    j.isOpen = false;
    j.isPrivate = true;
    j.entryTemplate = "Today I";
    j.entryTemplateActive = false;
    j.marathon = true;
    j.collaborators = std::vector<User>{};
    j.archived = false;
    j.website = "https://example.org";
    j.isOwner = true;
    j.isCollaborator = false;
    j.isShadowing = false;
    j.isStreakMissedByOneDay = true;
    j.isScheduled = false;
    j.isDue = true;
    j.nextStreakDate = "2024-03-02";
    j.shouldDisplayStreak = true;
    return j;
}

TEST(JournalCoding, AMinimalObjectHasOnlyTheFiveRequiredKeys) {
    const Journal journal = decoded<Journal>(minimalJSON);
    EXPECT_TRUE(journal == minimalJournal());
    EXPECT_FALSE(journal.iconImageData.has_value());
    EXPECT_FALSE(journal.entries.has_value());
    EXPECT_FALSE(journal.user.has_value());
    EXPECT_EQ(encoded(journal), minimalJSON);
}

TEST(JournalCoding, EveryKeyIsWrittenInTheServicesOrder) {
    EXPECT_EQ(encoded(fullJournal()), fullJSON);
    EXPECT_TRUE(decoded<Journal>(fullJSON) == fullJournal());
    EXPECT_TRUE(roundTripped(fullJournal()) == fullJournal());
}

TEST(JournalCoding, EachKeyFillsItsOwnField) {
    expectFieldCases<Journal>(minimalJSON, {
        {R"("iconLink":"i")", [](Journal& j) { j.iconLink = "i"; }},
        {R"("iconEmoji":"e")", [](Journal& j) { j.iconEmoji = "e"; }},
        {R"("isDaily":false)", [](Journal& j) { j.isDaily = false; }},
        {R"("index":-1)", [](Journal& j) { j.index = -1; }},
        {R"("notTodayIndex":4)", [](Journal& j) { j.notTodayIndex = 4; }},
        {R"("entry_number":12)", [](Journal& j) { j.entryNumber = 12; }},
        {R"("last_entry_at":-0.25)",
         [](Journal& j) { j.lastEntryAt = Date::fromTimeIntervalSinceReferenceDate(-0.25); }},
        {R"("entriesToday":3)", [](Journal& j) { j.entriesToday = 3; }},
        {R"("streak":5)", [](Journal& j) { j.streak = 5; }},
        {R"("streakDate":"2024-03-01")", [](Journal& j) { j.streakDate = "2024-03-01"; }},
        {R"("skippedAt":"yesterday")", [](Journal& j) { j.skippedAt = "yesterday"; }},
        {R"("entries":[])", [](Journal& j) { j.entries = std::vector<KestrovaEntry>{}; }},
        {R"("user":{"id":2,"username":"u1"})", [](Journal& j) {
             User owner;
             owner.id = 2;
             owner.username = "u1";
             j.user = owner;
         }},
        {R"("pinned_entry_id":9)", [](Journal& j) { j.pinnedEntryId = 9; }},
        {R"("open":true)", [](Journal& j) { j.isOpen = true; }},
        {R"("private":true)", [](Journal& j) { j.isPrivate = true; }},
        {R"("entryTemplate":"t")", [](Journal& j) { j.entryTemplate = "t"; }},
        {R"("entryTemplateActive":true)", [](Journal& j) { j.entryTemplateActive = true; }},
        {R"("marathon":false)", [](Journal& j) { j.marathon = false; }},
        {R"("collaborators":[{"id":3,"username":"c"}])", [](Journal& j) {
             User collaborator;
             collaborator.id = 3;
             collaborator.username = "c";
             j.collaborators = std::vector<User>{collaborator};
         }},
        {R"("archived":true)", [](Journal& j) { j.archived = true; }},
        {R"("website":"w")", [](Journal& j) { j.website = "w"; }},
        {R"("isOwner":false)", [](Journal& j) { j.isOwner = false; }},
        {R"("isCollaborator":true)", [](Journal& j) { j.isCollaborator = true; }},
        {R"("isShadowing":true)", [](Journal& j) { j.isShadowing = true; }},
        {R"("isStreakMissedByOneDay":false)", [](Journal& j) { j.isStreakMissedByOneDay = false; }},
        {R"("isScheduled":true)", [](Journal& j) { j.isScheduled = true; }},
        {R"("isDue":false)", [](Journal& j) { j.isDue = false; }},
        {R"("nextStreakDate":"2024-03-02")", [](Journal& j) { j.nextStreakDate = "2024-03-02"; }},
        {R"("shouldDisplayStreak":false)", [](Journal& j) { j.shouldDisplayStreak = false; }},
    });
}

TEST(JournalCoding, NullsFieldNamesAndUnknownKeysLeaveFieldsEmpty) {
    expectFieldCases<Journal>(minimalJSON, {
        {R"("isDaily":null,"index":null,"entries":null,"user":null,"collaborators":null)", unchanged},
        {R"("last_entry_at":null,"open":null,"pinned_entry_id":null,"entry_number":null)", unchanged},
        {R"("entryNumber":12,"lastEntryAt":5,"pinnedEntryId":3,"isOpen":true)", unchanged},
        {R"("isPrivate":true)", unchanged},
        {R"("iconImageData":"AAEC")", unchanged},
        {R"("colour":"red","nested":{"id":"x","private":"no"},"list":[1,"2",null])", unchanged},
    });
}

TEST(JournalCoding, RequiredKeysMustBePresentAndNotNull) {
    const std::vector<RequiredField> fields{
        {"id", "7"}, {"title", R"("t")"}, {"description", R"("")"}, {"slug", R"("s")"}, {"private", "true"}};
    expectEachFieldRequired<Journal>(fields);
    // One bad journal fails the user that lists it.
    const Enclosure secondOfUsersJournals{
        R"({"id":1,"username":"u","journals":[)"
        R"({"id":1,"title":"a","description":"","slug":"a","private":false},)",
        "]}", "journals[1]."};
    expectEachFieldRequired<User>(fields, secondOfUsersJournals);
}

TEST(JournalCoding, AValueOfTheWrongTypeFailsTheJournal) {
    expectFailures<Journal>(minimalJSON, {
        {R"("id":"7")", Failure::typeMismatch, "id"},
        {R"("id":7.5)", Failure::dataCorrupted, "id"},
        {R"("title":5)", Failure::typeMismatch, "title"},
        {R"("private":"private")", Failure::typeMismatch, "private"},
        {R"("private":0)", Failure::typeMismatch, "private"},
        {R"("isDaily":"true")", Failure::typeMismatch, "isDaily"},
        {R"("open":1)", Failure::typeMismatch, "open"},
        {R"("streak":3.5)", Failure::dataCorrupted, "streak"},
        {R"("index":9223372036854775808)", Failure::dataCorrupted, "index"},
        {R"("streakDate":20240301)", Failure::typeMismatch, "streakDate"},
        {R"("last_entry_at":"2024-03-01T10:00:00Z")", Failure::typeMismatch, "last_entry_at"},
        {R"("entries":{})", Failure::typeMismatch, "entries"},
        {R"("entries":[{"id":1},{"id":"2"}])", Failure::typeMismatch, "entries[1].id"},
        {R"("entries":[{"id":1,"blocks":[{"id":1,"index":0}]}])", Failure::keyNotFound,
         "entries[0].blocks[0].type"},
        {R"("user":{"id":2})", Failure::keyNotFound, "user.username"},
        {R"("user":[])", Failure::typeMismatch, "user"},
        {R"("collaborators":[{"id":3,"username":null}])", Failure::valueNotFound,
         "collaborators[0].username"},
    });
    expectDecodingFailure<Journal>("[]", Failure::typeMismatch, "the top level");
    expectDecodingFailure<Journal>(R"("journal")", Failure::typeMismatch, "the top level");
}

TEST(JournalCoding, IconBytesAreNeverCoded) {
    Journal withIcon = decoded<Journal>(minimalJSON);
    withIcon.iconImageData = Data(std::string_view("\x89PNG"));
    EXPECT_EQ(encoded(withIcon), minimalJSON);
    const Journal back = roundTripped(withIcon);
    EXPECT_FALSE(back.iconImageData.has_value());
    EXPECT_FALSE(back == withIcon);
}

TEST(JournalEquality, DecodedTwiceFromTheSameJSONIsEqual) {
    const Journal a = decoded<Journal>(fullJSON);
    const Journal b = decoded<Journal>(fullJSON);
    EXPECT_TRUE(a == b);
    EXPECT_EQ(hashOf(a), hashOf(b));
}

TEST(JournalEquality, CanonicallyEquivalentTextsAndEqualInstantsAreEqual) {
    Journal base = minimalJournal();
    base.title = "Caf\u00e9";
    base.iconEmoji = "\u00e9";
    base.lastEntryAt = Date::fromTimeIntervalSinceReferenceDate(0.0);
    expectEachChangeEqual<Journal>(base, {
        {"combining accent in the title", [](Journal& j) { j.title = "Cafe\u0301"; }},
        {"combining accent in the emoji", [](Journal& j) { j.iconEmoji = "e\u0301"; }},
        {"negative zero instant", [](Journal& j) {
             j.lastEntryAt = Date::fromTimeIntervalSinceReferenceDate(-0.0);
         }},
    });
}

TEST(JournalEquality, EveryFieldTakesPart) {
    Journal base = fullJournal();
    base.lastEntryAt = Date::fromTimeIntervalSinceReferenceDate(0.0);
    expectEachChangeUnequal<Journal>(base, {
        {"streak", [](Journal& j) { j.streak = 13; }},
        {"streak absent", [](Journal& j) { j.streak.reset(); }},
        {"title", [](Journal& j) { j.title = "Morning Pages"; }},
        {"icon bytes", [](Journal& j) { j.iconImageData = Data(std::string_view("i")); }},
        {"empty icon bytes", [](Journal& j) { j.iconImageData = Data(); }},
        {"private", [](Journal& j) { j.isPrivate = false; }},
        {"open absent", [](Journal& j) { j.isOpen.reset(); }},
        {"last entry", [](Journal& j) { j.lastEntryAt = Date::fromTimeIntervalSinceReferenceDate(1e-9); }},
        {"no entries", [](Journal& j) { j.entries.reset(); }},
        {"an entry's id", [](Journal& j) { j.entries.mutate()[0].id = 42; }},
        {"owner's name", [](Journal& j) { j.user.mutate().username = "u2"; }},
        {"no collaborators", [](Journal& j) { j.collaborators.reset(); }},
        {"should display streak", [](Journal& j) { j.shouldDisplayStreak = false; }},
    });
}

TEST(JournalLink, CreateEntryLinks) {
    struct Case {
        std::int64_t id;
        std::optional<std::string_view> username;
        std::string_view slug;
        std::string_view link;
    };
    const Case cases[] = {
        {7, {}, "morning-pages", "kestrova:///create-entry?journalId=7"},
        {7, "u1", "morning-pages",
         "kestrova:///create-entry?username=u1&journalSlug=morning-pages&journalId=7"},
        {0, {}, "s", "kestrova:///create-entry?journalId=0"},
        {-12, {}, "s", "kestrova:///create-entry?journalId=-12"},
        {-12, "u1", "s", "kestrova:///create-entry?username=u1&journalSlug=s&journalId=-12"},
        {7, "u 1", "morning pages",
         "kestrova:///create-entry?username=u%201&journalSlug=morning%20pages&journalId=7"},
        {7, "jos\u00e9", "caf\u00e9-\u65e5\u8a18",
         "kestrova:///create-entry?username=jos%C3%A9&journalSlug=caf%C3%A9-%E6%97%A5%E8%A8%98&journalId=7"},
        {7, "a&b", "x=y", "kestrova:///create-entry?username=a%26b&journalSlug=x%3Dy&journalId=7"},
        {7, "", "", "kestrova:///create-entry?username=&journalSlug=&journalId=7"},
    };
    for (const auto& c : cases) {
        Journal journal = minimalJournal();
        journal.id = c.id;
        journal.slug = c.slug;
        if (c.username) {
            User owner;
            owner.username = *c.username;
            journal.user = owner;
        }
        const auto link = journal.createEntryURL();
        ASSERT_TRUE(link.has_value()) << c.link;
        EXPECT_EQ(link->absoluteString(), c.link);
        EXPECT_EQ(link->scheme(), "kestrova");
        EXPECT_EQ(link->path(), "/create-entry");
        // Whatever was escaped reads back as the text it came from.
        const auto items = foundation::URLComponents(*link).queryItems();
        ASSERT_TRUE(items.has_value());
        EXPECT_EQ(items->back(), (foundation::URLQueryItem{"journalId", std::to_string(c.id)}));
        if (c.username) {
            ASSERT_EQ(items->size(), 3u);
            EXPECT_EQ((*items)[0], (foundation::URLQueryItem{"username", std::string(*c.username)}));
            EXPECT_EQ((*items)[1], (foundation::URLQueryItem{"journalSlug", std::string(c.slug)}));
        } else {
            EXPECT_EQ(items->size(), 1u);
        }
    }
}

}  // namespace
}  // namespace kestrova
