// Reads arbitrary bytes as a link handed to the application (by another
// program, a web page, a notification, a handed-over activity) and follows the
// window's link rules with the beta front end off and on. The rules promise:
// - a link shows only a page of the service's own origin, on the front end the
//   setting chooses, and that page shown again stays where it is;
// - openInApp wraps any page in one "kestrova:///open" link whose "url" item
//   holds the page's text exactly, and that link shows what the page itself
//   would show.
// The cached user has journals, so that create-entry links find some.

#include "fuzz/support/FuzzFailure.hpp"
#include "fuzz/support/ProcessScratchDirectory.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/runtime/foundation/core/URLComponents.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/links/OpenInApp.hpp"
#include "kestrova/web/WebWrapper.hpp"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using foundation::URL;
using foundation::URLComponents;

std::string_view input;

void check(bool holds, std::string_view what) {
    if (!holds) {
        fuzzsupport::fail("link_fuzz", what, input);
    }
}

kestrova::Journal journal(std::int64_t id, const char* slug) {
    kestrova::Journal made;
    made.id = id;
    made.slug = slug;
    made.title = slug;
    return made;
}

kestrova::User cachedUser() {
    kestrova::User user;
    user.id = 1;
    user.username = "ann";
    user.journals = std::vector<kestrova::Journal>{journal(3, "first"), journal(12, "daily-notes"),
                                                   journal(-7, "läufe"), journal(42, "a b?c#d")};
    return user;
}

void checkTarget(const URL& link, bool isBeta) {
    const auto target = kestrova::WebWrapper::linkTarget(link, isBeta);
    if (!target) {
        return;
    }
    check(kestrova::isServiceOrigin(*target), "a link shows a page that is not on the service's origin");
    const auto host = URLComponents(*target).percentEncodedHost();
    check(host != std::string(isBeta ? kestrova::webHost() : kestrova::betaWebHost()),
          "a link shows a page of the front end the setting does not choose");
    check(kestrova::WebWrapper::linkTarget(*target, isBeta) == target, "the page a link shows, shown again, moves");
}

std::string openedInApp(const URL& page) {
    auto& effects = headless::HeadlessBackend::installed().effects();
    effects.clear();
    kestrova::openInApp(page);
    const std::string prefix = "workspace opened: ";
    const auto opened = effects.linesStartingWith(prefix);
    check(opened.size() == 1, "openInApp does not open exactly one link");
    return opened.front().substr(prefix.size());
}

void checkOpenInApp(const URL& page) {
    const auto link = URL::fromString(openedInApp(page));
    check(link.has_value(), "openInApp opens a text that is no URL");
    const URLComponents components(*link);
    check(components.scheme() == "kestrova" && components.path() == "/open", "openInApp opens no kestrova:///open link");
    const auto items = components.queryItems();
    check(items && items->size() == 1 && items->front().name == "url" && items->front().value == page.absoluteString(),
          "the link of openInApp does not hold the page as its one url item");
    for (const bool isBeta : {false, true}) {
        // A "kestrova:" link inside an open link is no page of the service.
        const auto expected =
            page.scheme() == "kestrova" ? std::nullopt : kestrova::WebWrapper::linkTarget(page, isBeta);
        check(kestrova::WebWrapper::linkTarget(*link, isBeta) == expected,
              "the link of openInApp shows another page than the page itself");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("KESTROVA_APP_GROUP_DIR", (fuzzsupport::scratchDirectory() / "app-group").c_str(), 1);
    headless::installAll();
    kestrova::AppGroupDefaults::shared().saveUser(cachedUser());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    input = std::string_view(reinterpret_cast<const char*>(bytes), size);
    const auto link = URL::fromString(input);
    if (!link) {
        return 0;
    }
    for (const bool isBeta : {false, true}) {
        checkTarget(*link, isBeta);
    }
    checkOpenInApp(*link);
    return 0;
}
