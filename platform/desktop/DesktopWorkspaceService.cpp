#include "platform/desktop/DesktopWorkspaceService.hpp"

#include <gio/gio.h>

namespace desktop {

bool DesktopWorkspaceService::open(const foundation::URL& url) {
    GError* error = nullptr;
    const gboolean launched = g_app_info_launch_default_for_uri(url.absoluteString().c_str(), nullptr, &error);
    g_clear_error(&error);
    return launched != FALSE;
}

}  // namespace desktop
