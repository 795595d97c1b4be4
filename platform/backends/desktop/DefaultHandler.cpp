#include "platform/backends/desktop/DefaultHandler.hpp"

#include <gio/gio.h>

namespace desktop {

bool openWithDefaultHandler(const std::string& uri) {
    g_autoptr(GError) error = nullptr;
    return g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error) != FALSE;
}

}  // namespace desktop
