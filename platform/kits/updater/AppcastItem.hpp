#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

#include <optional>
#include <string>

namespace updater {

// One release in an update feed.
struct AppcastItem {
    std::string title;
    // The release's version, compared with the running one.
    std::string version;
    // The version as shown to the user; the version when the feed gives none.
    std::string displayVersion;
    // Where the release is downloaded from.
    foundation::URL enclosureURL;
    // The release's page, when the feed gives one.
    std::optional<foundation::URL> link;

    // The page to send the user to: the release's page, else the download.
    [[nodiscard]] const foundation::URL& infoURL() const noexcept { return link ? *link : enclosureURL; }
};

}  // namespace updater
