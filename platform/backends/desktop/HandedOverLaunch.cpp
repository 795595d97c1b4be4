#include "platform/backends/desktop/HandedOverLaunch.hpp"

#include <gio/gio.h>

#include <string>

namespace desktop {

std::optional<HandedOverLaunch> HandedOverLaunch::fromCommandLine(int argc, const char* const* argv) {
    HandedOverLaunch launch;
    for (int index = 1; index < argc; ++index) {
        if (argv[index][0] == '-') {
            return std::nullopt;
        }
        g_autoptr(GFile) file = g_file_new_for_commandline_arg(argv[index]);
        g_autofree gchar* uri = g_file_get_uri(file);
        if (g_utf8_validate(uri, -1, nullptr) == FALSE) {
            g_autofree gchar* shown = g_strescape(argv[index], nullptr);
            throw std::invalid_argument("cannot hand over \"" + std::string(shown) + "\": a link must be UTF-8 text");
        }
        launch.uris.emplace_back(uri);
    }
    return launch;
}

}  // namespace desktop
