#include "tests/kestrova/model/RecordCoding.hpp"

#include "kestrova/model/Journal.hpp"
#include "kestrova/model/KestrovaEntry.hpp"
#include "kestrova/model/User.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {
namespace {

using namespace fixtures;
using foundation::Date;

constexpr std::string_view minimalJSON = R"({"id":41})";

// Every key, in the order the service writes them: the nested records come
// before the counters, the renamed identifiers and the flag come last.
constexpr std::string_view fullJSON =
    R"({"id":41,"createdAt":730000001,"updatedAt":730000060.25,"lastViewedAt":-1.5,)"
    R"("user":{"id":2,"username":"u1"},)"
    R"("journal":{"id":7,"title":"t","description":"","slug":"s","private":true},)"
    R"("comments":[{"id":"9A8B7C6D-5E4F-4321-8765-43210FEDCBA9","value":"Nice","date":730000100}],)"
    R"("commentCount":1,"unreadCommentCount":0,"previewURL":"https:\/\/kestrova.example\/p\/41",)"
    R"("blocks":[{"id":3,"index":0,"type":"text","text":"Hello"}],"journal_id":7,"user_id":2,"private":false})";

KestrovaEntry fullEntry() {
    KestrovaEntry e;
    e.id = 41;
    e.createdAt = Date::fromTimeIntervalSinceReferenceDate(730000001);
    e.updatedAt = Date::fromTimeIntervalSinceReferenceDate(730000060.25);
    e.lastViewedAt = Date::fromTimeIntervalSinceReferenceDate(-1.5);
    e.previewURL = "https://kestrova.example/p/41";
    e.user = decoded<User>(R"({"id":2,"username":"u1"})");
    e.userId = 2;
    e.journal = decoded<Journal>(R"({"id":7,"title":"t","description":"","slug":"s","private":true})");
    e.journalId = 7;
    KestrovaComment comment;
    comment.id = *foundation::UUID::fromString("9a8b7c6d-5e4f-4321-8765-43210fedcba9");
    comment.value = "Nice";
    comment.date = Date::fromTimeIntervalSinceReferenceDate(730000100);
    e.comments = std::vector<KestrovaComment>{comment};
    e.commentCount = 1;
    e.unreadCommentCount = 0;
    e.isPrivate = false;
    e.blocks = std::vector<KestrovaBlock>{{3, 0, BlockType::text, "Hello", {}, {}, {}, {}}};
    return e;
}

TEST(KestrovaEntryCoding, AMinimalObjectHasOnlyTheId) {
    const KestrovaEntry entry = decoded<KestrovaEntry>(minimalJSON);
    EXPECT_EQ(entry.id, 41);
    KestrovaEntry expected;
    expected.id = 41;
    EXPECT_TRUE(entry == expected);
    EXPECT_EQ(encoded(entry), minimalJSON);
    const std::string allNull = withFields(
        minimalJSON, R"("createdAt":null,"updatedAt":null,"lastViewedAt":null,"user":null,"journal":null,)"
                     R"("comments":null,"commentCount":null,"unreadCommentCount":null,"previewURL":null,)"
                     R"("blocks":null,"journal_id":null,"user_id":null,"private":null)");
    EXPECT_EQ(encoded(decoded<KestrovaEntry>(allNull)), minimalJSON);
}

TEST(KestrovaEntryCoding, EveryKeyIsWrittenInTheServicesOrder) {
    EXPECT_EQ(encoded(fullEntry()), fullJSON);
    EXPECT_TRUE(decoded<KestrovaEntry>(fullJSON) == fullEntry());
    EXPECT_TRUE(roundTripped(fullEntry()) == fullEntry());
}

TEST(KestrovaEntryCoding, EachKeyFillsItsOwnField) {
    expectFieldCases<KestrovaEntry>(minimalJSON, {
        {R"("createdAt":1)",
         [](KestrovaEntry& e) { e.createdAt = Date::fromTimeIntervalSinceReferenceDate(1); }},
        {R"("updatedAt":2)",
         [](KestrovaEntry& e) { e.updatedAt = Date::fromTimeIntervalSinceReferenceDate(2); }},
        {R"("lastViewedAt":3)",
         [](KestrovaEntry& e) { e.lastViewedAt = Date::fromTimeIntervalSinceReferenceDate(3); }},
        {R"("previewURL":"p")", [](KestrovaEntry& e) { e.previewURL = "p"; }},
        {R"("user":{"id":2,"username":"u"})",
         [](KestrovaEntry& e) { e.user = decoded<User>(R"({"id":2,"username":"u"})"); }},
        {R"("user_id":2)", [](KestrovaEntry& e) { e.userId = 2; }},
        {R"("journal":{"id":7,"title":"t","description":"","slug":"s","private":false})",
         [](KestrovaEntry& e) {
             e.journal =
                 decoded<Journal>(R"({"id":7,"title":"t","description":"","slug":"s","private":false})");
         }},
        {R"("journal_id":7)", [](KestrovaEntry& e) { e.journalId = 7; }},
        {R"("comments":[])", [](KestrovaEntry& e) { e.comments = std::vector<KestrovaComment>{}; }},
        {R"("commentCount":3)", [](KestrovaEntry& e) { e.commentCount = 3; }},
        {R"("unreadCommentCount":1)", [](KestrovaEntry& e) { e.unreadCommentCount = 1; }},
        {R"("private":true)", [](KestrovaEntry& e) { e.isPrivate = true; }},
        {R"("blocks":[])", [](KestrovaEntry& e) { e.blocks = std::vector<KestrovaBlock>{}; }},
        // The field names are not the keys.
        {R"("journalId":7,"userId":2,"isPrivate":true,"previewUrl":"p","comment_count":2)", unchanged},
        {R"("private":null)", unchanged},
    });
}

TEST(KestrovaEntryCoding, TheJournalIdentifierAndTheJournalAreKeptAsSent) {
    const auto entry = decoded<KestrovaEntry>(
        R"({"id":41,"journal":{"id":7,"title":"t","description":"","slug":"s","private":false},)"
        R"("journal_id":8})");
    EXPECT_EQ(entry.journal->id, 7);
    EXPECT_EQ(entry.journalId, 8);
}

TEST(KestrovaEntryCoding, AValueOfTheWrongTypeFailsTheEntry) {
    expectEachFieldRequired<KestrovaEntry>({{"id", "41"}});
    expectFailures<KestrovaEntry>(minimalJSON, {
        {R"("id":"41")", Failure::typeMismatch, "id"},
        {R"("commentCount":3.5)", Failure::dataCorrupted, "commentCount"},
        {R"("private":"true")", Failure::typeMismatch, "private"},
        {R"("user_id":"2")", Failure::typeMismatch, "user_id"},
        {R"("createdAt":"2024-03-01T10:00:00.000Z")", Failure::typeMismatch, "createdAt"},
        {R"("previewURL":{"href":"p"})", Failure::typeMismatch, "previewURL"},
        {R"("user":{"id":2,"username":"u","quietMode":"on"})", Failure::typeMismatch, "user.quietMode"},
        {R"("journal":{"id":7,"title":"t","description":"","slug":"s","isPrivate":false})",
         Failure::keyNotFound, "journal.private"},
        {R"("comments":[{"id":"9A8B7C6D-5E4F-4321-8765-43210FEDCBA9","value":"v"}])", Failure::keyNotFound,
         "comments[0].date"},
        {R"("blocks":{"id":3})", Failure::typeMismatch, "blocks"},
    });
    // An entry inside a journal inside a user: the path leads all the way down.
    expectDecodingFailure<User>(
        R"({"id":1,"username":"u","journals":[{"id":7,"title":"t","description":"","slug":"s","private":false,)"
        R"("entries":[{"id":1},{"id":2,"unreadCommentCount":0.5}]}]})",
        Failure::dataCorrupted, "journals[0].entries[1].unreadCommentCount");
}

TEST(KestrovaEntryEquality, EveryFieldTakesPart) {
    const KestrovaEntry base = fullEntry();
    EXPECT_EQ(hashOf(decoded<KestrovaEntry>(fullJSON)), hashOf(base));
    expectEachChangeUnequal<KestrovaEntry>(base, {
        {"unread comments", [](KestrovaEntry& e) { e.unreadCommentCount = 1; }},
        {"no unread count", [](KestrovaEntry& e) { e.unreadCommentCount.reset(); }},
        {"no blocks", [](KestrovaEntry& e) { e.blocks.reset(); }},
        {"no block", [](KestrovaEntry& e) { e.blocks = std::vector<KestrovaBlock>{}; }},
        {"a block's text", [](KestrovaEntry& e) { e.blocks.mutate()[0].text = "hello"; }},
        {"no comments", [](KestrovaEntry& e) { e.comments.reset(); }},
        {"a comment's value", [](KestrovaEntry& e) { e.comments.mutate()[0].value = "nice"; }},
        {"the journal", [](KestrovaEntry& e) { e.journal.mutate().isPrivate = false; }},
        {"the author", [](KestrovaEntry& e) { e.user.mutate().id = 3; }},
        {"user id", [](KestrovaEntry& e) { e.userId = 3; }},
        {"journal id", [](KestrovaEntry& e) { e.journalId.reset(); }},
        {"viewed", [](KestrovaEntry& e) { e.lastViewedAt = Date::fromTimeIntervalSinceReferenceDate(-1.25); }},
        {"private", [](KestrovaEntry& e) { e.isPrivate = true; }},
    });
    expectEachChangeUnequal<KestrovaEntry>(decoded<KestrovaEntry>(minimalJSON), {
        {"an empty block list", [](KestrovaEntry& e) { e.blocks = std::vector<KestrovaBlock>{}; }},
        {"an empty comment list", [](KestrovaEntry& e) { e.comments = std::vector<KestrovaComment>{}; }},
    });
    const auto accented = decoded<KestrovaEntry>(withFields(minimalJSON, R"("previewURL":"caf\u00e9")"));
    expectEachChangeEqual<KestrovaEntry>(accented, {
        {"combining accent", [](KestrovaEntry& e) { e.previewURL = "cafe\u0301"; }},
    });
}

}  // namespace
}  // namespace kestrova
