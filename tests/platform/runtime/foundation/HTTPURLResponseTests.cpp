#include "platform/runtime/foundation/http/HTTPURLResponse.hpp"

#include <gtest/gtest.h>

namespace foundation {
namespace {

TEST(HTTPURLResponse, ReadsMediaTypeAndLengthFromItsFields) {
    struct Case {
        HTTPHeaderFields::Field contentType;
        HTTPHeaderFields::Field contentLength;
        std::optional<std::string> mimeType;
        std::int64_t expectedLength;
    };
    const Case cases[] = {
        {{"Content-Type", "application/json"}, {"Content-Length", "42"}, "application/json", 42},
        {{"content-type", "Text/HTML ; charset=utf-8"}, {"CONTENT-LENGTH", " 7 "}, "text/html", 7},
        {{"Content-Type", ""}, {"Content-Length", "0"}, std::nullopt, 0},
        {{"X-Other", "a"}, {"Content-Length", "-5"}, std::nullopt, URLResponse::unknownLength},
        {{"X-Other", "a"}, {"Content-Length", "12abc"}, std::nullopt, URLResponse::unknownLength},
        {{"X-Other", "a"}, {"X-Length", "12"}, std::nullopt, URLResponse::unknownLength},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.contentType.second + " / " + c.contentLength.second);
        HTTPHeaderFields fields;
        fields.set(c.contentType.first, c.contentType.second);
        fields.set(c.contentLength.first, c.contentLength.second);
        const HTTPURLResponse response(*URL::fromString("https://api.kestrova.example/auth"), 200, fields);
        EXPECT_EQ(response.mimeType(), c.mimeType);
        EXPECT_EQ(response.expectedContentLength(), c.expectedLength);
        EXPECT_EQ(response.value(c.contentType.first), c.contentType.second);
    }
}

TEST(HTTPURLResponse, IsAResponseWithAStatusAndCaseInsensitiveFields) {
    HTTPHeaderFields fields;
    fields.set("Set-Cookie", "token=abc");
    const auto response = std::make_shared<const HTTPURLResponse>(*URL::fromString("https://x.example/a"), 401,
                                                                  fields);
    const std::shared_ptr<const URLResponse> plain = response;
    const auto* http = dynamic_cast<const HTTPURLResponse*>(plain.get());
    ASSERT_TRUE(http);
    EXPECT_EQ(http->statusCode(), 401);
    EXPECT_EQ(http->value("set-cookie"), "token=abc");
    EXPECT_FALSE(http->value("Cookie"));
    EXPECT_EQ(plain->url().absoluteString(), "https://x.example/a");
}

}  // namespace
}  // namespace foundation
