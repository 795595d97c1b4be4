#include "platform/runtime/foundation/http/URLRequest.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <stdexcept>

namespace foundation {
namespace {

URLRequest requestTo(std::string_view url) {
    return URLRequest(*URL::fromString(url));
}

TEST(URLRequest, DefaultsToGetWithTheSixtySecondTimeOutAndNoBody) {
    const auto request = requestTo("https://api.kestrova.example/auth");
    EXPECT_EQ(request.httpMethod(), "GET");
    EXPECT_EQ(request.timeoutInterval(), 60.0);
    EXPECT_EQ(request.cachePolicy(), URLRequest::CachePolicy::useProtocolCachePolicy);
    EXPECT_FALSE(request.httpBody());
    EXPECT_TRUE(request.allHTTPHeaderFields().empty());

    auto posted = request;
    posted.setHTTPMethod("POST");
    posted.setHTTPMethod(std::nullopt);
    EXPECT_EQ(posted.httpMethod(), "GET");
}

TEST(URLRequest, AddJoinsSetReplacesAndNamesIgnoreCase) {
    auto request = requestTo("https://api.kestrova.example/auth");
    request.addValue("token=abc", "Cookie");
    request.addValue("theme=dark", "COOKIE");
    EXPECT_EQ(request.value("cookie"), "token=abc,theme=dark");

    request.setValue("application/json", "Content-Type");
    request.setValue("text/plain", "content-type");
    EXPECT_EQ(request.value("CONTENT-TYPE"), "text/plain");

    request.setValue(std::nullopt, "Cookie");
    EXPECT_FALSE(request.value("Cookie"));
    // The first spelling of a name is the one that goes out.
    ASSERT_EQ(request.allHTTPHeaderFields().fields().size(), 1u);
    EXPECT_EQ(request.allHTTPHeaderFields().fields()[0].first, "Content-Type");
}

TEST(URLRequest, RefusesFieldsThatCouldInjectHeadersAndKeepsWhatItHad) {
    struct Case {
        std::string name;
        std::function<void(URLRequest&)> change;
    };
    const Case cases[] = {
        {"CR in an added value", [](URLRequest& r) { r.addValue("token=a\rX-Evil: 1", "Cookie"); }},
        {"LF in an added value", [](URLRequest& r) { r.addValue("token=a\nX-Evil: 1", "Cookie"); }},
        {"NUL in a set value", [](URLRequest& r) { r.setValue(std::string_view("a\0b", 3), "Cookie"); }},
        {"CRLF in a set value", [](URLRequest& r) { r.setValue("a\r\n\r\nGET / HTTP/1.1", "Cookie"); }},
        {"colon in a name", [](URLRequest& r) { r.setValue("v", "X-Evil: 1\r\nX"); }},
        {"space in a name", [](URLRequest& r) { r.addValue("v", "Bad Name"); }},
        {"empty name", [](URLRequest& r) { r.setValue("v", ""); }},
        {"empty name on removal", [](URLRequest& r) { r.setValue(std::nullopt, ""); }},
        {"space in a method", [](URLRequest& r) { r.setHTTPMethod("GET /x HTTP/1.1\r\n"); }},
        {"empty method", [](URLRequest& r) { r.setHTTPMethod(""); }},
        {"zero time-out", [](URLRequest& r) { r.setTimeoutInterval(0); }},
        {"negative time-out", [](URLRequest& r) { r.setTimeoutInterval(-1); }},
        {"NaN time-out", [](URLRequest& r) { r.setTimeoutInterval(std::numeric_limits<double>::quiet_NaN()); }},
        {"largest reply raised",
         [](URLRequest& r) { r.setLargestReplyLength(URLRequest::defaultLargestReplyLength + 1); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto request = requestTo("https://api.kestrova.example/auth");
        request.addValue("token=abc", "Cookie");
        EXPECT_THROW(c.change(request), std::invalid_argument);
        EXPECT_EQ(request.value("Cookie"), "token=abc");
        EXPECT_EQ(request.allHTTPHeaderFields().fields().size(), 1u);
        EXPECT_EQ(request.httpMethod(), "GET");
        EXPECT_EQ(request.timeoutInterval(), 60.0);
        EXPECT_EQ(request.largestReplyLength(), URLRequest::defaultLargestReplyLength);
    }
}

}  // namespace
}  // namespace foundation
