#include "platform/desktop/DesktopApplicationService.hpp"

#include <gio/gio.h>

#include <cstdlib>

namespace desktop {

// GApplication's own activation opens the main window in most shells, which is not what activating
// means here: the window that should come forward is presented by its makeKeyAndOrderFront().
void DesktopApplicationService::activate(bool /*ignoringOtherApps*/) {}

void DesktopApplicationService::terminate() {
    if (GApplication* application = g_application_get_default()) {
        g_application_quit(application);
        return;
    }
    std::exit(EXIT_SUCCESS);
}

}  // namespace desktop
