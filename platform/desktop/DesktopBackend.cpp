#include "platform/desktop/DesktopBackend.hpp"

#include <gtk/gtk.h>

#include <stdexcept>

namespace desktop {

DesktopBackend::DesktopBackend(ApplicationIdentity identity)
    : dock_(identity.desktopFileId()), workspace_(application_, std::move(identity)) {
    if (gtk_init_check(nullptr, nullptr) == FALSE) {
        throw std::runtime_error("cannot open the display: is DISPLAY or WAYLAND_DISPLAY set?");
    }
    // Made here, on the main thread, so that the monitor's changes arrive through the main loop.
    paths_ = std::make_unique<NetworkMonitorPathService>();
}

network::PathService& DesktopBackend::pathService() {
    return *paths_;
}

}  // namespace desktop
