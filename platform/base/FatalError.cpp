#include "platform/base/FatalError.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace base {

void fatalError(std::string_view message, std::string_view source, unsigned line) {
    std::string text(source);
    text += ":" + std::to_string(line) + ": Fatal error";
    if (!message.empty()) {
        text += ": ";
        text += message;
    }
    text += "\n";
    // Whatever the process printed before is not lost with it.
    std::fflush(stdout);
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
    std::abort();
}

}  // namespace base
