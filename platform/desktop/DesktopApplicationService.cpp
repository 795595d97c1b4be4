#include "platform/desktop/DesktopApplicationService.hpp"

#include <gio/gio.h>

#include <cstdlib>

namespace desktop {

void DesktopApplicationService::activate(bool /*ignoringOtherApps*/) {
    if (GApplication* application = g_application_get_default()) {
        g_application_activate(application);
    }
}

void DesktopApplicationService::terminate() {
    if (GApplication* application = g_application_get_default()) {
        g_application_quit(application);
        return;
    }
    std::exit(EXIT_SUCCESS);
}

}  // namespace desktop
