#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"

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
        {"Many hands make light work.", "TWFueSBoYW5kcyBtYWtlIGxpZ2h0IHdvcmsu"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Data(c.bytes).base64EncodedString(), c.base64);
        const auto decoded = Data::fromBase64(c.base64);
        ASSERT_TRUE(decoded.has_value()) << c.base64;
        EXPECT_EQ(decoded->view(), c.bytes);
    }
}

TEST(DataBase64, RoundTripsEveryByteValueAtEveryOffset) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(i));
    }
    // Three lengths, so that every value also falls in a final group of one and of two bytes.
    for (std::size_t length : {bytes.size(), bytes.size() - 1, bytes.size() - 2}) {
        const Data data(std::string_view(bytes).substr(0, length));
        const auto decoded = Data::fromBase64(data.base64EncodedString());
        ASSERT_TRUE(decoded.has_value()) << length;
        EXPECT_EQ(*decoded, data) << length;
    }
}

// Bits past the last byte carry nothing: they are dropped, not refused.
TEST(DataBase64, DropsTheUnusedBitsOfTheLastCharacter) {
    EXPECT_EQ(Data::fromBase64("Zh==")->view(), "f");
    EXPECT_EQ(Data::fromBase64("Zm9=")->view(), "fo");
}

TEST(DataBase64, RefusesWhatIsNotStrictBase64) {
    for (const std::string_view text : {"Zg", "Zg=", "Z===", "Zm9v!A==", "Zm 9v", "Zg==Zg==", "=Zg=",
                                        "Zm9v\n", "====", "Zm9v====", "Z=g=", "Zm\xc3\xa9", "Zm-_"}) {
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
