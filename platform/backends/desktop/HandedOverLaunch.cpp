#include "platform/backends/desktop/HandedOverLaunch.hpp"

#include <gio/gio.h>

namespace desktop {

std::optional<HandedOverLaunch> HandedOverLaunch::fromCommandLine(int argc, const char* const* argv) {
    HandedOverLaunch launch;
    for (int index = 1; index < argc; ++index) {
        if (argv[index][0] == '-') {
            return std::nullopt;
        }
        g_autoptr(GFile) file = g_file_new_for_commandline_arg(argv[index]);
        g_autofree gchar* uri = g_file_get_uri(file);
        launch.uris.emplace_back(uri);
    }
    return launch;
}

}  // namespace desktop
