#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace desktop {

// A launch as the running instance of the application takes it from a second launch: an activation
// when the command line names nothing, else an open of what it names, each argument read as GIO
// reads a file argument (a URI stays as written, a path becomes the file URI of its absolute path).
struct HandedOverLaunch {
    std::vector<std::string> uris;  // none: an activation

    // None for a command line with an option (any argument that starts with "-"): options are the
    // application's own to read, and some of them (help, service mode) make no hand-off at all. Throws
    // std::invalid_argument, naming the argument, for a URI that is no UTF-8 text, which no launch
    // can carry.
    static std::optional<HandedOverLaunch> fromCommandLine(int argc, const char* const* argv);

    bool operator==(const HandedOverLaunch&) const = default;
};

}  // namespace desktop
