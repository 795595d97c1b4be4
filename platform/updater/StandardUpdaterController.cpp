#include "platform/updater/StandardUpdaterController.hpp"

#include "platform/updater/UpdaterUserDriver.hpp"

namespace updater {

StandardUpdaterController::StandardUpdaterController(UpdaterConfiguration configuration, bool startingUpdater)
    : updater_(std::move(configuration), UpdaterUserDriver::installed()) {
    if (startingUpdater) {
        updater_.startUpdater();
    }
}

}  // namespace updater
