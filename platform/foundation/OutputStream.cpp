#include "platform/foundation/OutputStream.hpp"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace foundation {
namespace {

constexpr mode_t ownerOnly = S_IRUSR | S_IWUSR;

}  // namespace

std::optional<OutputStream> OutputStream::toFile(const URL& url) {
    if (!url.isFileURL()) {
        return std::nullopt;
    }
    return OutputStream(url.path());
}

void OutputStream::open() {
    if (status_ != Status::notOpen) {
        return;
    }
    constexpr int flags = O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC | O_NOFOLLOW;
    file_ = FileDescriptor(::open(path_.c_str(), flags, ownerOnly));
    if (!file_.isOpen()) {
        fail(errno, "cannot open", " for writing");
        return;
    }
    // The creation mode only applies to a new file; a file that was already
    // there keeps its own until it is changed. Devices such as /dev/null are
    // left as they are.
    struct stat status {};
    if (::fstat(file_.get(), &status) != 0) {
        fail(errno, "cannot examine");
        return;
    }
    const bool shared = S_ISREG(status.st_mode) && (status.st_mode & 07777) != ownerOnly;
    if (shared && ::fchmod(file_.get(), ownerOnly) != 0) {
        fail(errno, "cannot make", " private to its owner");
        return;
    }
    status_ = Status::open;
}

bool OutputStream::hasSpaceAvailable() const noexcept {
    return status_ == Status::open;
}

std::ptrdiff_t OutputStream::write(const std::uint8_t* buffer, std::size_t count) {
    if (status_ == Status::failed) {
        return -1;
    }
    if (status_ != Status::open) {
        fail(EBADF, "cannot write to", ": the stream is not open");
        return -1;
    }
    if (count == 0) {
        return 0;
    }
    ssize_t written = 0;
    do {
        written = ::write(file_.get(), buffer, count);
    } while (written < 0 && errno == EINTR);
    if (written <= 0) {
        fail(written < 0 ? errno : EIO, "cannot write to");
        return -1;
    }
    return written;
}

void OutputStream::close() {
    if (const int error = file_.close(); error != 0) {
        fail(error, "cannot finish writing");
        return;
    }
    if (status_ != Status::failed) {
        status_ = Status::closed;
    }
}

void OutputStream::fail(int errorNumber, std::string_view action, std::string_view detail) {
    error_.emplace(errorNumber, std::string(action) + " \"" + path_ + "\"" + std::string(detail));
    status_ = Status::failed;
    file_.close();
}

}  // namespace foundation
