#pragma once

#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/combine/Published.hpp"
#include "platform/kits/updater/StandardUpdaterController.hpp"

namespace kestrova {

// The application's one updater, started with the process, and whether a check the user asks for may
// begin now. Made once, before any window; used on the main thread.
class UpdaterViewModel final : public combine::ObservableObject {
public:
    // With the deployment's update feed and interval.
    UpdaterViewModel();
    explicit UpdaterViewModel(updater::UpdaterConfiguration configuration);

    updater::StandardUpdaterController updaterController;
    // The updater's own value: at once when made, then every change.
    combine::Published<bool> canCheckForUpdates;
};

// The update feed, interval and running version that the build was configured with.
[[nodiscard]] updater::UpdaterConfiguration deployedUpdaterConfiguration();

}  // namespace kestrova
