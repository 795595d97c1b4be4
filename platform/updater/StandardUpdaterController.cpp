#include "platform/updater/StandardUpdaterController.hpp"

#include "platform/backend/Backend.hpp"

namespace updater {

StandardUpdaterController::StandardUpdaterController(UpdaterConfiguration configuration, bool startingUpdater)
    : updater_(std::move(configuration), backend::Backend::installed().updaterUserDriver()) {
    if (startingUpdater) {
        updater_.startUpdater();
    }
}

}  // namespace updater
