#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

#include <chrono>
#include <optional>
#include <string>

namespace updater {

// How the application is updated, set when it is deployed.
struct UpdaterConfiguration {
    // The update feed; none: the updater never checks and a check can never begin.
    std::optional<foundation::URL> feedURL;
    // Between two checks in the background; the first runs when the updater starts.
    std::chrono::seconds checkInterval{std::chrono::hours(24)};
    // The running release's version.
    std::string currentVersion;
};

}  // namespace updater
