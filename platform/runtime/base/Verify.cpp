#include "platform/runtime/base/Verify.hpp"

#include <cstdio>
#include <cstdlib>

namespace base {

void verificationFailed(const char* condition, std::string_view why, std::source_location where) {
    std::fprintf(stderr, "%s:%u: %s: VERIFY(%s) failed: %.*s\n", where.file_name(),
                 static_cast<unsigned>(where.line()), where.function_name(), condition,
                 static_cast<int>(why.size()), why.data());
    std::fflush(stderr);
    std::abort();
}

}  // namespace base
