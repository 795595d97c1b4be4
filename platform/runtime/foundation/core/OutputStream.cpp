#include "platform/runtime/foundation/core/OutputStream.hpp"

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

void OutputStream::reserve(std::int64_t length) noexcept {
    if (status_ != Status::open || length <= 0) {
        return;
    }
    // Keeping the size leaves the end of the file where the writes put it,
    // and a size limit to the writes, which report it as a failure.
    while (::fallocate(file_.get(), FALLOC_FL_KEEP_SIZE, 0, length) != 0 && errno == EINTR) {
    }
}

std::optional<std::size_t> OutputStream::copyFrom(InputStream& input, std::size_t maxLength) {
    if (status_ != Status::open || input.status_ != InputStream::Status::open || !input.path_ || maxLength == 0) {
        return std::nullopt;
    }
    ssize_t copied = 0;
    do {
        copied = ::copy_file_range(input.file_.get(), nullptr, file_.get(), nullptr, maxLength, 0);
    } while (copied < 0 && errno == EINTR);
    // Both offsets moved by what was copied, so a copy through a buffer
    // goes on from there. A call the kernel or a file system does not
    // support (EXDEV, EINVAL, ENOSYS, EOPNOTSUPP) copied nothing; a real
    // failure shows again, on the right stream, when the buffer copy meets
    // it. Some kernels answer 0 for files whose size they do not know, so
    // only a read may say that the end is reached.
    if (copied <= 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(copied);
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
