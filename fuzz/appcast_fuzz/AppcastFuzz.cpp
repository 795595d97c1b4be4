// Reads arbitrary bytes as the update feed, as a check for updates does.
// Besides never crashing: a feed is read or refused with an AppcastError;
// every release read has a version and https URLs; and the release offered above a
// version is above it, and no release of the feed is above the one offered.

#include "fuzz/support/FuzzFailure.hpp"
#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/updater/Appcast.hpp"
#include "platform/kits/updater/AppcastError.hpp"
#include "platform/kits/updater/Version.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string_view input;

void check(bool holds, std::string_view what) {
    if (!holds) {
        fuzzsupport::fail("appcast_fuzz", what, input);
    }
}

// A feed from another machine: only its https links may be offered.
const foundation::URL& feedURL() {
    static const auto url = *foundation::URL::fromString("https://updates.kestrova.example/appcast.xml");
    return url;
}

void checkNewestAbove(const updater::Appcast& feed, const std::string& current) {
    const auto newest = feed.newestItemAbove(current);
    for (const auto& item : feed.items()) {
        if (updater::compareVersions(item.version, current) <= 0) {
            continue;
        }
        check(newest.has_value(), "a release above the running version is not offered");
        check(updater::compareVersions(item.version, newest->version) <= 0,
              "a release above the one offered is passed over");
    }
    if (newest) {
        check(updater::compareVersions(newest->version, current) > 0, "the release offered is not above the running one");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    input = std::string_view(reinterpret_cast<const char*>(bytes), size);
    std::optional<updater::Appcast> feed;
    try {
        feed.emplace(updater::Appcast::parse(foundation::Data(bytes, size), feedURL()));
    } catch (const updater::AppcastError&) {
        return 0;
    }
    std::vector<std::string> versions = {"", "0", "1.0", "99999999999999999999"};
    for (const auto& item : feed->items()) {
        check(!item.version.empty() && !item.displayVersion.empty(), "a release is read without a version");
        check(foundation::URL::fromString(item.enclosureURL.absoluteString()) == item.enclosureURL &&
                  (!item.link || foundation::URL::fromString(item.link->absoluteString()) == item.link),
              "a release is read with a URL that does not parse");
        check(item.enclosureURL.scheme() == "https" && (!item.link || item.link->scheme() == "https"),
              "a release of a feed from another machine offers a link that is not https");
        if (versions.size() < 16) {
            versions.push_back(item.version);
        }
    }
    for (const auto& current : versions) {
        checkNewestAbove(*feed, current);
    }
    return 0;
}
