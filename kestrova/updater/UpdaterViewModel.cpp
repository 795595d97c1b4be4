#include "kestrova/updater/UpdaterViewModel.hpp"

namespace kestrova {

updater::UpdaterConfiguration deployedUpdaterConfiguration() {
    const std::string feed = KESTROVA_UPDATE_FEED_URL;
    updater::UpdaterConfiguration configuration;
    // Checked when the build is configured: empty, or an absolute http(s) URL.
    if (!feed.empty()) {
        configuration.feedURL = foundation::URL::fromString(feed);
    }
    configuration.checkInterval = std::chrono::seconds(KESTROVA_UPDATE_CHECK_INTERVAL);
    configuration.currentVersion = KESTROVA_VERSION;
    return configuration;
}

UpdaterViewModel::UpdaterViewModel() : UpdaterViewModel(deployedUpdaterConfiguration()) {}

UpdaterViewModel::UpdaterViewModel(updater::UpdaterConfiguration configuration)
    : updaterController(std::move(configuration), true), canCheckForUpdates(*this, false) {
    updaterController.updater().canCheckForUpdates.publisher().assign(canCheckForUpdates);
}

}  // namespace kestrova
