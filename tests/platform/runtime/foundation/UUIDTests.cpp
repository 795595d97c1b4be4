#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/core/UUID.hpp"

#include <gtest/gtest.h>

#include <set>

namespace foundation {
namespace {

TEST(UUID, ReadsEitherCaseAndWritesUpperCase) {
    const auto lower = UUID::fromString("e621e1f8-c36c-495a-93fc-0c247a3e6e5f");
    const auto upper = UUID::fromString("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    ASSERT_TRUE(lower && upper);
    EXPECT_EQ(*lower, *upper);
    EXPECT_EQ(hashValue(*lower), hashValue(*upper));
    EXPECT_EQ(lower->uuidString(), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
}

TEST(UUID, RefusesMalformedText) {
    for (const std::string_view text : {
             "", "E621E1F8C36C495A93FC0C247A3E6E5F", "E621E1F8-C36C-495A-93FC-0C247A3E6E5",
             "E621E1F8-C36C-495A-93FC-0C247A3E6E5FF", "{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}",
             "G621E1F8-C36C-495A-93FC-0C247A3E6E5F", "E621E1F8_C36C-495A-93FC-0C247A3E6E5F",
             "E621E1F-8C36C-495A-93FC-0C247A3E6E5F", "E621E1F80C36C-495A-93FC-0C247A3E6E5F",
             "E621E1F8-C36C-495A-93FC--C247A3E6E5F", "E621E1F8-C36C-495A-93FC-0C247A3E6E5\xc3",
             "E621E1F8-C36C-495A-93FC-0C247A3E6E5 "}) {
        EXPECT_FALSE(UUID::fromString(text).has_value()) << text;
    }
}

TEST(UUID, RandomOnesAreVersionFourAndDistinct) {
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        const UUID uuid;
        const std::string text = uuid.uuidString();
        EXPECT_EQ(text[14], '4');
        EXPECT_NE(std::string_view("89AB").find(text[19]), std::string_view::npos);
        EXPECT_EQ(UUID::fromString(text), uuid);
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 100u);
}

}  // namespace
}  // namespace foundation
