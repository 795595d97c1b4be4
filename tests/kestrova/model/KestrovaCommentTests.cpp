#include "tests/kestrova/model/RecordCoding.hpp"

#include "kestrova/model/KestrovaComment.hpp"
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

constexpr std::string_view minimalJSON =
    R"({"id":"9A8B7C6D-5E4F-4321-8765-43210FEDCBA9","value":"Nice","date":730000100.5})";

TEST(KestrovaCommentCoding, AMinimalObjectHasThreeKeys) {
    const auto comment = decoded<KestrovaComment>(
        R"({"id":"9a8b7c6d-5e4f-4321-8765-43210fedcba9","value":"Nice","date":730000100.5,"likes":3})");
    EXPECT_EQ(comment.id.uuidString(), "9A8B7C6D-5E4F-4321-8765-43210FEDCBA9");
    EXPECT_EQ(comment.value, "Nice");
    EXPECT_EQ(comment.date, Date::fromTimeIntervalSinceReferenceDate(730000100.5));
    EXPECT_FALSE(comment.user || comment.entry || comment.createdAt || comment.updatedAt);
    EXPECT_EQ(encoded(comment), minimalJSON);
    EXPECT_EQ(encoded(decoded<KestrovaComment>(
                  withFields(minimalJSON, R"("user":null,"entry":null,"createdAt":null,"updatedAt":null)"))),
              minimalJSON);
}

TEST(KestrovaCommentCoding, EveryKeyIsWrittenInFieldOrder) {
    const std::string json = withFields(
        minimalJSON, R"("user":{"id":2,"username":"u1"},"entry":{"id":41},"createdAt":1,"updatedAt":2.5)");
    const KestrovaComment comment = decoded<KestrovaComment>(json);
    EXPECT_EQ(comment.user->username, "u1");
    EXPECT_EQ(comment.entry->id, 41);
    EXPECT_EQ(comment.createdAt, Date::fromTimeIntervalSinceReferenceDate(1));
    EXPECT_EQ(comment.updatedAt, Date::fromTimeIntervalSinceReferenceDate(2.5));
    EXPECT_EQ(encoded(comment), json);

    expectFieldCases<KestrovaComment>(minimalJSON, {
        {R"("createdAt":7)",
         [](KestrovaComment& c) { c.createdAt = Date::fromTimeIntervalSinceReferenceDate(7); }},
        {R"("updatedAt":7)",
         [](KestrovaComment& c) { c.updatedAt = Date::fromTimeIntervalSinceReferenceDate(7); }},
        {R"("user_id":2,"entry_id":41,"created_at":1,"text":"t")", unchanged},
    });
}

TEST(KestrovaCommentCoding, RequiredKeysAndTypes) {
    const std::vector<RequiredField> fields{
        {"id", R"("9A8B7C6D-5E4F-4321-8765-43210FEDCBA9")"}, {"value", R"("")"}, {"date", "0"}};
    expectEachFieldRequired<KestrovaComment>(fields);
    expectEachFieldRequired<KestrovaEntry>(fields, {R"({"id":41,"comments":[)", "]}", "comments[0]."});
    expectFailures<KestrovaComment>(minimalJSON, {
        {R"("id":"9A8B7C6D-5E4F-4321-8765")", Failure::dataCorrupted, "id"},
        {R"("id":7)", Failure::typeMismatch, "id"},
        {R"("value":false)", Failure::typeMismatch, "value"},
        {R"("date":"2024-03-01T10:00:00Z")", Failure::typeMismatch, "date"},
        {R"("updatedAt":true)", Failure::typeMismatch, "updatedAt"},
        {R"("user":{"username":"u1"})", Failure::keyNotFound, "user.id"},
        {R"("entry":{"id":41,"blocks":[{"id":1,"index":0,"type":null}]})", Failure::valueNotFound,
         "entry.blocks[0].type"},
    });
}

TEST(KestrovaCommentCoding, AnEntryInsideACommentDecodesAllLevels) {
    const auto comment = decoded<KestrovaComment>(withFields(
        minimalJSON,
        R"("entry":{"id":41,"comments":[{"id":"11111111-2222-4333-8444-555555555555","value":"Reply","date":1,)"
        R"("entry":{"id":42,"blocks":[{"id":7,"index":0,"type":"image","coverFile":)"
        R"({"id":9,"size":1,"mimeType":"image\/png","url":"u"}}]}}]})"));
    ASSERT_TRUE(comment.entry && comment.entry->comments);
    const KestrovaComment& reply = comment.entry->comments->at(0);
    EXPECT_EQ(reply.value, "Reply");
    ASSERT_TRUE(reply.entry && reply.entry->blocks);
    EXPECT_EQ(reply.entry->id, 42);
    const KestrovaBlock& block = reply.entry->blocks->at(0);
    EXPECT_EQ(block.type, BlockType::image);
    ASSERT_TRUE(block.coverFile.has_value());
    EXPECT_EQ(block.coverFile->id, 9);
    EXPECT_TRUE(roundTripped(comment) == comment);
}

TEST(KestrovaCommentEquality, EveryFieldTakesPart) {
    KestrovaComment base = decoded<KestrovaComment>(withFields(minimalJSON, R"("value":"Caf\u00e9")"));
    expectEachChangeEqual<KestrovaComment>(base, {
        {"combining accent", [](KestrovaComment& c) { c.value = "Cafe\u0301"; }},
    });
    expectEachChangeUnequal<KestrovaComment>(base, {
        {"value", [](KestrovaComment& c) { c.value = "caf\u00e9"; }},
        {"created", [](KestrovaComment& c) { c.createdAt = c.date; }},
        {"updated", [](KestrovaComment& c) { c.updatedAt = c.date; }},
        {"date", [](KestrovaComment& c) { c.date = c.date.addingTimeInterval(0.001); }},
        {"an author", [](KestrovaComment& c) { c.user = decoded<User>(R"({"id":2,"username":"u1"})"); }},
        {"an entry", [](KestrovaComment& c) { c.entry = decoded<KestrovaEntry>(R"({"id":41})"); }},
        {"id", [](KestrovaComment& c) { c.id = foundation::UUID(); }},
    });
}

}  // namespace
}  // namespace kestrova
