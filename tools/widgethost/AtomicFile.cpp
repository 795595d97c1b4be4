#include "tools/widgethost/AtomicFile.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace widgethost {
namespace {

[[noreturn]] void fail(int cause, const std::string& what) {
    throw std::system_error(cause, std::generic_category(), what);
}

}  // namespace

void writeAtomically(const std::filesystem::path& file, std::string_view bytes) {
    std::string temporary = file.string() + ".XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0) {
        fail(errno, "cannot write " + file.string());
    }
    const auto abandon = [&](const std::string& what) {
        const int cause = errno;
        ::close(descriptor);
        ::unlink(temporary.c_str());
        fail(cause, what);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = ENOSPC;
            }
            abandon("cannot write " + file.string());
        }
        done += static_cast<std::size_t>(written);
    }
    // The rename must not make a file whose bytes are still only in memory.
    if (::fsync(descriptor) != 0) {
        abandon("cannot write " + file.string());
    }
    // mkostemp makes the file for its owner alone; what is written here is the user's own.
    if (::close(descriptor) != 0) {
        const int cause = errno;
        ::unlink(temporary.c_str());
        fail(cause, "cannot write " + file.string());
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int cause = errno;
        ::unlink(temporary.c_str());
        fail(cause, "cannot replace " + file.string());
    }
}

}  // namespace widgethost
