#include "fuzz/support/FuzzFailure.hpp"

#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

void fail(std::string_view target, std::string_view what, std::string_view input) {
    std::fprintf(stderr, "%.*s: %.*s for the input of %zu bytes \"", static_cast<int>(target.size()), target.data(),
                 static_cast<int>(what.size()), what.data(), input.size());
    // Enough to see the fault; the whole input is in the crash file libFuzzer writes.
    constexpr std::size_t shown = 4096;
    for (const char c : input.substr(0, shown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            std::fprintf(stderr, "\\%c", c);
        } else if (byte >= 0x20 && byte < 0x7f) {
            std::fputc(c, stderr);
        } else {
            std::fprintf(stderr, "\\x%02x", byte);
        }
    }
    std::fprintf(stderr, "%s\"\n", input.size() > shown ? "..." : "");
    std::abort();
}

}  // namespace fuzzsupport
