#include "tests/support/WebsiteCookies.hpp"

#include "platform/kits/webkit/WebsiteDataStore.hpp"
#include "tests/support/MainLoop.hpp"

#include <optional>

namespace testsupport {

std::vector<foundation::HTTPCookie> allWebsiteCookies() {
    std::optional<std::vector<foundation::HTTPCookie>> cookies;
    webkit::WebsiteDataStore::defaultDataStore().httpCookieStore().getAllCookies(
        [&](std::vector<foundation::HTTPCookie> all) { cookies = std::move(all); });
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return cookies.has_value(); }));
    return cookies.value_or(std::vector<foundation::HTTPCookie>{});
}

}  // namespace testsupport
