#include "tests/support/ScopedFileSizeLimit.hpp"

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace testsupport {

ScopedFileSizeLimit::ScopedFileSizeLimit(std::uint64_t bytes) {
    if (::getrlimit(RLIMIT_FSIZE, &previous_) != 0) {
        throw std::system_error(errno, std::generic_category(), "getrlimit");
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &previousAction_);
    rlimit limited = previous_;
    limited.rlim_cur = std::min<rlim_t>(bytes, previous_.rlim_max);
    if (::setrlimit(RLIMIT_FSIZE, &limited) != 0) {
        ::sigaction(SIGXFSZ, &previousAction_, nullptr);
        throw std::system_error(errno, std::generic_category(), "setrlimit");
    }
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    ::sigaction(SIGXFSZ, &previousAction_, nullptr);
}

}  // namespace testsupport
