#include "platform/kits/appintents/UTType.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace appintents {
namespace {

TEST(UTTypeTest, PreferredMIMETypesOfKnownAndAbstractTypes) {
    const struct {
        const char* identifier;
        std::optional<std::string> mimeType;
    } rows[] = {
        {"com.adobe.pdf", "application/pdf"},
        {"public.png", "image/png"},
        {"public.jpeg", "image/jpeg"},
        {"public.plain-text", "text/plain"},
        {"public.item", std::nullopt},
        {"public.data", std::nullopt},
        {"com.example.made-up", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(UTType(row.identifier).preferredMIMEType(), row.mimeType) << row.identifier;
    }
    EXPECT_EQ(UTType::item().identifier(), "public.item");
}

TEST(UTTypeTest, TypeOfAMIMETypeIgnoresCase) {
    EXPECT_EQ(UTType::fromMIMEType("application/pdf"), UTType("com.adobe.pdf"));
    EXPECT_EQ(UTType::fromMIMEType("IMAGE/PNG"), UTType("public.png"));
    EXPECT_EQ(UTType::fromMIMEType("application/x-made-up"), std::nullopt);
    EXPECT_EQ(UTType::fromMIMEType(""), std::nullopt);
}

TEST(UTTypeTest, GuessesByContentsAndByName) {
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    EXPECT_EQ(UTType::guessing("", png), UTType("public.png"));
    EXPECT_EQ(UTType::guessing("upload", png), UTType("public.png"));
    EXPECT_EQ(UTType::guessing("notes.txt", "plain words"), UTType("public.plain-text"));
    EXPECT_EQ(UTType::guessing("report.pdf", "%PDF-1.7\n"), UTType("com.adobe.pdf"));
    // Bytes of no known kind make a type of no table entry.
    EXPECT_EQ(UTType::guessing("", std::string("\0\x01\x02\xff\xfe", 5)), std::nullopt);
}

}  // namespace
}  // namespace appintents
