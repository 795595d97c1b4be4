#include "platform/kits/updater/StandardUpdaterController.hpp"

#include "platform/kits/updater/UpdaterUserDriver.hpp"

namespace updater {

StandardUpdaterController::StandardUpdaterController(UpdaterConfiguration configuration, bool startingUpdater)
    : updater_(std::move(configuration), UpdaterUserDriver::installed()) {
    if (startingUpdater) {
        updater_.startUpdater();
    }
}

}  // namespace updater
