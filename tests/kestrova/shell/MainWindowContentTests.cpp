#include "kestrova/shell/MainWindowContent.hpp"

#include "kestrova/state/AppState.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kestrova {
namespace {

// The file of open windows is the user's to edit or damage: only a page of the service comes back in a
// window; anything else gives the window its start page.
TEST(MainWindowContentTest, AKeptPageComesBackOnlyWhenItIsAPageOfTheService) {
    AppState::shared().user = std::nullopt;
    const std::string start = "https://kestrova.example/login";
    struct Case {
        const char* kept;
        std::string shown;
    };
    const Case cases[] = {
        {"https://kestrova.example/ann/daily?x=1#c", "https://kestrova.example/ann/daily?x=1#c"},
        {"https://beta.kestrova.example/home", "https://beta.kestrova.example/home"},
        {"http://kestrova.example/ann", "https://kestrova.example/ann"},
        {"http://kestrova.example:18100/", start},
        {"https://kestrova.example:18100/", start},
        {"https://example.org/", start},
        {"javascript://kestrova.example/%0Awindow.webkit.messageHandlers.onLogout.postMessage(1)", start},
        {"file:///home/ann/Downloads/", start},
        {"data:text/html,<script>alert(1)</script>", start},
        {"kestrova:///open?url=https://kestrova.example/home", start},
        {"not a URL", start},
    };
    for (const auto& c : cases) {
        const MainWindowContent content(std::map<std::string, std::string>{{"url", c.kept}});
        EXPECT_EQ(content.wrapper.url.absoluteString(), c.shown) << c.kept;
        EXPECT_EQ(content.sceneStorage().at("url"), c.shown) << c.kept;
    }
}

}  // namespace
}  // namespace kestrova
