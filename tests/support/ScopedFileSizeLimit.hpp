#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdint>

namespace testsupport {

// Stands in for a full disk: while it lives, no file of this process grows
// past the limit, and a write that would is refused (EFBIG) instead of
// ending the process with SIGXFSZ. The previous limit and signal handling
// come back at the end.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(std::uint64_t bytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    rlimit previous_{};
    struct sigaction previousAction_ {};
};

}  // namespace testsupport
