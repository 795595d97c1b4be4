#include "platform/runtime/base/FatalError.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace base {

void fatalError(std::string_view message, std::string_view source, unsigned line) {
    std::string text(source);
    // Appended piece by piece: GCC 12 at -O3 warns falsely about ":" + std::to_string(line).
    text += ':';
    text += std::to_string(line);
    text += ": Fatal error";
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
