#include "foundation/Data.hpp"
#include "foundation/Hasher.hpp"

#include <gtest/gtest.h>

namespace foundation {
namespace {

TEST(DataBase64, RoundTripsEveryPaddingLength) {
    struct Case {
        std::string_view bytes;
        std::string_view base64;
    };
    const Case cases[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="},
        {std::string_view("\0\xff\xfe", 3), "AP/+"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Data(c.bytes).base64EncodedString(), c.base64);
        const auto decoded = Data::fromBase64(c.base64);
        ASSERT_TRUE(decoded.has_value()) << c.base64;
        EXPECT_EQ(decoded->view(), c.bytes);
    }
}

TEST(DataBase64, RefusesWhatIsNotStrictBase64) {
    for (const std::string_view text : {"Zg", "Zg=", "Z===", "Zm9v!A==", "Zm 9v", "Zg==Zg==", "=Zg=", "Zm9v\n"}) {
        EXPECT_FALSE(Data::fromBase64(text).has_value()) << text;
    }
}

TEST(DataEquality, ComparesAndHashesBytes) {
    EXPECT_EQ(Data("abc"), Data("abc"));
    EXPECT_NE(Data("abc"), Data("abd"));
    EXPECT_EQ(hashValue(Data("abc")), hashValue(Data("abc")));
    EXPECT_NE(hashValue(Data("")), hashValue(Data(std::string_view("\0", 1))));
}

}  // namespace
}  // namespace foundation
