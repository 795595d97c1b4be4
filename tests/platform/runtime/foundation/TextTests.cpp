#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/core/Text.hpp"

#include <gtest/gtest.h>

#include <unordered_set>

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
