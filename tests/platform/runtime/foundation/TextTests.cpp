#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/core/Text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace foundation {
namespace {

TEST(TextEquality, IsCanonicalEquivalence) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    const Case cases[] = {
        {"caf\u00e9", "cafe\u0301", true},          // precomposed against combining accent
        {"\u212b", "\u00c5", true},                  // ANGSTROM SIGN is canonically A with ring
        {"q\u0307\u0323", "q\u0323\u0307", true},    // combining marks in canonical order
        {"cafe", "caf\u00e9", false},
        {"\ufb01", "fi", false},                     // compatibility, not canonical, equivalence
        {"abc", "ABC", false},
        {"", "", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(c.a) == Text(c.b), c.equal) << c.a << " vs " << c.b;
        if (c.equal) {
            EXPECT_EQ(hashValue(Text(c.a)), hashValue(Text(c.b))) << c.a;
        }
    }
}

TEST(TextEquality, KeepsTheBytesItWasGiven) {
    const Text decomposed("cafe\u0301");
    EXPECT_EQ(decomposed.str(), "cafe\u0301");
    EXPECT_EQ(decomposed.normalized(), "caf\u00e9");
}

TEST(TextEquality, InvalidUTF8ComparesByBytes) {
    EXPECT_EQ(Text("\xff\xfe"), Text("\xff\xfe"));
    EXPECT_NE(Text("\xff\xfe"), Text("\xff\xfd"));
}

TEST(TextEquality, WorksAsAHashSetKey) {
    std::unordered_set<Text> set{Text("caf\u00e9")};
    EXPECT_TRUE(set.contains(Text("cafe\u0301")));
}

// Texts of every length: held in place, in a block of their own, or in a block an arena shares out.
const std::vector<std::string> lengths = {
    "", "a", std::string(24, 'b'), std::string(25, 'c'), std::string(4096, 'd'), std::string(9000, 'e'),
};

TEST(TextStorage, CopiesAndMovesKeepTheBytesWhateverTheLength) {
    for (const auto& bytes : lengths) {
        Text original(bytes);
        Text copy = original;
        Text assigned("x");
        assigned = copy;
        Text& same = assigned;
        assigned = same;  // assigning a text to itself keeps it
        Text moved = std::move(original);
        EXPECT_EQ(copy.view(), bytes);
        EXPECT_EQ(assigned.view(), bytes);
        EXPECT_EQ(moved.view(), bytes);
        EXPECT_TRUE(original.empty());  // NOLINT(bugprone-use-after-move): a moved-from text is empty
        Text target(std::string(40, 'z'));
        target = std::move(moved);
        EXPECT_EQ(target.view(), bytes);
    }
}

TEST(TextStorage, ArenaTextsOutliveTheArenaAndEachOther) {
    std::vector<Text> kept;
    std::vector<std::string> expected;
    {
        TextArena arena;
        // Enough texts to fill several of the arena's blocks, some long enough to get their own.
        for (int i = 0; i < 3000; ++i) {
            std::string bytes = "text number " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 50), '.');
            if (i % 500 == 0) {
                bytes += std::string(20000, '#');
            }
            kept.push_back(arena.make(bytes));
            expected.push_back(std::move(bytes));
        }
    }
    // Dropping every other text frees nothing the rest still use.
    for (std::size_t i = 0; i < kept.size(); i += 2) {
        kept[i] = Text();
    }
    for (std::size_t i = 1; i < kept.size(); i += 2) {
        ASSERT_EQ(kept[i].view(), expected[i]);
    }
}

TEST(TextSearch, ContainsIgnoringCase) {
    struct Case {
        const char* haystack;
        const char* needle;
        bool contained;
    };
    const Case cases[] = {
        {"Morning Run", "run", true},
        {"RUNNING", "run", true},
        {"Stra\u00dfe", "STRASSE", true},           // full case folding
        {"CAF\u00c9", "cafe\u0301", true},          // folding and composition together
        {"Morning Walk", "run", false},
        {"anything", "", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(c.haystack).localizedCaseInsensitiveContains(Text(c.needle)), c.contained)
            << c.haystack << " / " << c.needle;
    }
}

}  // namespace
}  // namespace foundation
