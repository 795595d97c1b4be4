#include "kestrova/links/OpenInApp.hpp"

#include "platform/runtime/foundation/core/URLComponents.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova {
namespace {

TEST(OpenInAppTest, ThePageTravelsWholeInTheUrlItemOfTheApplicationsOpenLink) {
    auto& effects = headless::HeadlessBackend::installed().effects();
    const std::vector<std::string> pages = {
        "https://kestrova.example/login",
        "https://beta.kestrova.example/ann/daily-notes?tab=entries&sort=new#top",
        "https://kestrova.example/search?q=a%20b%2Bc",
    };
    for (const auto& page : pages) {
        effects.clear();
        openInApp(*foundation::URL::fromString(page));
        const auto lines = effects.lines();
        ASSERT_EQ(lines.size(), 1u) << page;
        const std::string prefix = "workspace opened: ";
        ASSERT_TRUE(lines[0].starts_with(prefix + "kestrova:///open?url=")) << lines[0];
        const auto link = foundation::URLComponents::fromString(lines[0].substr(prefix.size()));
        ASSERT_TRUE(link.has_value()) << lines[0];
        EXPECT_EQ(link->path(), "/open");
        EXPECT_EQ(link->queryItems(), (std::vector<foundation::URLQueryItem>{{"url", page}})) << lines[0];
    }
    effects.clear();
    openInApp(*foundation::URL::fromString("https://kestrova.example/login"));
    EXPECT_EQ(effects.lines(),
              std::vector<std::string>{"workspace opened: kestrova:///open?url=https://kestrova.example/login"});
}

}  // namespace
}  // namespace kestrova
