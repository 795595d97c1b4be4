#pragma once

#include "platform/kits/updater/Updater.hpp"
#include "platform/kits/updater/UpdaterConfiguration.hpp"

namespace updater {

// The updater with the installed backend's way of telling the user, ready for a menu item.
class StandardUpdaterController {
public:
    // With `startingUpdater` the updater starts checking at once.
    StandardUpdaterController(UpdaterConfiguration configuration, bool startingUpdater);

    [[nodiscard]] Updater& updater() noexcept { return updater_; }
    // The menu item's action: a check the user asked for.
    void checkForUpdates() { updater_.checkForUpdates(); }

private:
    Updater updater_;
};

}  // namespace updater
