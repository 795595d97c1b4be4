#include "tests/kestrova/model/RecordCoding.hpp"

#include "platform/runtime/foundation/coding/EncodingError.hpp"
#include "kestrova/model/KestrovaComment.hpp"
#include "kestrova/model/KestrovaEntry.hpp"
#include "kestrova/model/User.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {
namespace {

using namespace fixtures;

constexpr std::string_view commentHead =
    R"({"id":"9A8B7C6D-5E4F-4321-8765-43210FEDCBA9","value":"v","date":0,)";

// A comment whose entry holds a comment whose entry holds ..., `levels` comments deep.
std::string commentChain(std::size_t levels) {
    std::string json;
    for (std::size_t i = 0; i < levels; ++i) {
        json.append(commentHead).append(R"("entry":{"id":1,"comments":[)");
    }
    json.append(commentHead).append(R"("createdAt":0})");
    for (std::size_t i = 0; i < levels; ++i) {
        json.append("]}}");
    }
    return json;
}

TEST(RecordNesting, DocumentsTooDeepToDecodeFailAsCorrupted) {
    std::string arrays = R"({"id":1,"username":"u","journals":)";
    arrays.append(10000, '[').append(10000, ']').append("}");
    std::string objects = R"({"id":41,"user":)";
    for (int i = 0; i < 10000; ++i) {
        objects.append(R"({"id":1,"username":"u","journals":[{"id":7,"title":"t","description":"","slug":"s",)"
                       R"("private":false,"user":)");
    }
    objects.append("null");
    for (int i = 0; i < 10000; ++i) {
        objects.append("}]}");
    }
    objects.append("}");
    expectDecodingFailure<KestrovaComment>(commentChain(10000), Failure::dataCorrupted, "the top level");
    expectDecodingFailure<User>(arrays, Failure::dataCorrupted, "the top level");
    expectDecodingFailure<KestrovaEntry>(objects, Failure::dataCorrupted, "the top level");
}

TEST(RecordNesting, EachLevelOfADeepRecordIsItsOwnValue) {
    const std::string json = commentChain(100);
    const KestrovaComment original = decoded<KestrovaComment>(json);
    EXPECT_EQ(encoded(original), json);
    KestrovaComment copy = original;
    KestrovaComment* level = &copy;
    for (int i = 0; i < 100; ++i) {
        level = &level->entry.mutate().comments.mutate()[0];
    }
    EXPECT_EQ(level->createdAt, foundation::Date());
    level->value = "changed";
    EXPECT_FALSE(copy == original);
    EXPECT_NE(hashOf(copy), hashOf(original));
    EXPECT_TRUE(original == decoded<KestrovaComment>(json));
    EXPECT_EQ(hashOf(original), hashOf(decoded<KestrovaComment>(json)));
}

TEST(RecordNesting, AJournalOfACopiedUserChangesOnlyInTheCopy) {
    const User original = decoded<User>(
        R"({"id":1,"username":"u1","journals":[)"
        R"({"id":7,"title":"t","description":"","slug":"s","private":false,)"
        R"("streak":1,"entries":[{"id":41,"blocks":[{"id":3,"index":0,"type":"text"}]}]}]})");
    User copy = original;
    copy.journals.mutate()[0].streak = 5;
    copy.journals.mutate()[0].entries.mutate()[0].blocks.mutate()[0].text = "new";
    EXPECT_EQ(original.journals->front().streak, 1);
    EXPECT_FALSE(original.journals->front().entries->front().blocks->front().text.has_value());
    EXPECT_EQ(copy.journals->front().streak, 5);
    EXPECT_EQ(copy.journals->front().entries->front().blocks->front().text, "new");

    // Changing the original afterwards leaves the copy as it was made.
    User other = original;
    const User snapshot = other;
    other.journals.mutate().clear();
    EXPECT_EQ(snapshot.journals->size(), 1u);
    EXPECT_TRUE(snapshot == original);
}

// The records read from equal values in one document (an author of several
// entries and comments) are held once; changing one of them through its
// field changes that field alone, as for a copy.
TEST(RecordNesting, AnAuthorReadOnceForManyEntriesChangesOnlyWhereItIsChanged) {
    constexpr std::string_view author = R"({"id":5,"username":"ann","avatarLink":"https://example.org/ann.jpg"})";
    std::string json = R"({"id":7,"title":"t","description":"","slug":"s","private":false,"entries":[)";
    for (int i = 0; i < 3; ++i) {
        json.append(R"({"id":)").append(std::to_string(40 + i)).append(R"(,"user":)").append(author).append("},");
    }
    json.append(R"({"id":49,"user":{"id":5,"username":"ann","avatarLink":"https://example.org/ann.png"}}]})");
    Journal journal = decoded<Journal>(json);
    const auto& entries = *journal.entries;
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].user.get(), entries[2].user.get());
    EXPECT_NE(entries[0].user.get(), entries[3].user.get());
    EXPECT_EQ(entries[3].user->avatarLink, "https://example.org/ann.png");

    journal.entries.mutate()[1].user.mutate().username = "anne";
    EXPECT_EQ(journal.entries->at(0).user->username, "ann");
    EXPECT_EQ(journal.entries->at(1).user->username, "anne");
    EXPECT_EQ(journal.entries->at(2).user->username, "ann");
    EXPECT_TRUE(decoded<Journal>(json) == decoded<Journal>(json));
}

TEST(RecordNesting, EncodingRefusesANestedValueAndSaysWhere) {
    constexpr float infinity = std::numeric_limits<float>::infinity();
    struct Case {
        std::function<std::string()> encode;
        std::string_view path;
    };
    const Case cases[] = {
        {[] {
             User user = decoded<User>(R"({"id":1,"username":"u"})");
             Journal journal =
                 decoded<Journal>(R"({"id":7,"title":"t","description":"","slug":"s","private":false})");
             journal.title = "bad \xff byte";
             user.journals = std::vector<Journal>{journal};
             return encoded(user);
         },
         "journals[0].title"},
        {[=] {
             KestrovaEntry entry = decoded<KestrovaEntry>(R"({"id":41})");
             KestrovaBlock block = decoded<KestrovaBlock>(R"({"id":3,"index":0,"type":"video"})");
             block.coverFile = KestrovaBlockFile{1, {}, {}, infinity, 1, "video/mp4", "u"};
             entry.blocks = std::vector<KestrovaBlock>{block, block};
             entry.blocks.mutate()[0].coverFile->duration = 1.0f;
             return encoded(entry);
         },
         "blocks[1].coverFile.duration"},
        {[] {
             KestrovaComment comment = decoded<KestrovaComment>(commentChain(1));
             comment.entry.mutate().comments.mutate()[0].value = "\xC3";
             return encoded(comment);
         },
         "entry.comments[0].value"},
    };
    for (const auto& c : cases) {
        try {
            (void)c.encode();
            ADD_FAILURE() << "encoded, expected a refusal at " << c.path;
        } catch (const foundation::EncodingError& error) {
            EXPECT_EQ(error.codingPath().description(), c.path);
        }
    }
}

}  // namespace
}  // namespace kestrova
