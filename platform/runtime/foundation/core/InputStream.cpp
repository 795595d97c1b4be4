#include "platform/runtime/foundation/core/InputStream.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace foundation {

InputStream::InputStream(Data bytes) : bytes_(std::move(bytes)) {}

InputStream::InputStream(std::string path, FileDescriptor file)
    : path_(std::move(path)), file_(std::move(file)) {}

std::optional<InputStream> InputStream::fromFile(const URL& url) {
    if (!url.isFileURL()) {
        return std::nullopt;
    }
    std::string path = url.path();
    // Non-blocking, so that a pipe put where the file was cannot hang the
    // reader waiting for a writer.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.isOpen()) {
        return std::nullopt;
    }
    return InputStream(std::move(path), std::move(file));
}

void InputStream::open() {
    if (status_ == Status::notOpen) {
        status_ = Status::open;
    }
}

bool InputStream::hasBytesAvailable() const noexcept {
    if (status_ != Status::open) {
        return false;
    }
    return path_ || offset_ < bytes_.size();
}

std::ptrdiff_t InputStream::read(std::uint8_t* buffer, std::size_t maxLength) {
    switch (status_) {
    case Status::open:
        return path_ ? readFile(buffer, maxLength) : readBytes(buffer, maxLength);
    case Status::atEnd:
        return 0;
    case Status::failed:
        return -1;
    case Status::notOpen:
    case Status::closed:
        break;
    }
    return fail(EBADF, ": the stream is not open");
}

std::ptrdiff_t InputStream::readFile(std::uint8_t* buffer, std::size_t maxLength) {
    ssize_t count = 0;
    do {
        count = ::read(file_.get(), buffer, maxLength);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        return fail(errno);
    }
    if (count == 0 && maxLength > 0) {
        status_ = Status::atEnd;
    }
    return count;
}

std::ptrdiff_t InputStream::readBytes(std::uint8_t* buffer, std::size_t maxLength) {
    const std::size_t count = std::min(maxLength, bytes_.size() - offset_);
    if (count > 0) {
        std::memcpy(buffer, bytes_.data() + offset_, count);
    }
    offset_ += count;
    if (offset_ == bytes_.size()) {
        status_ = Status::atEnd;
    }
    return static_cast<std::ptrdiff_t>(count);
}

void InputStream::close() {
    // Nothing is lost when closing a file that was only read, so a failure
    // of close itself is of no interest.
    file_.close();
    if (status_ != Status::failed) {
        status_ = Status::closed;
    }
}

std::ptrdiff_t InputStream::fail(int errorNumber, std::string_view detail) {
    const std::string source = path_ ? "\"" + *path_ + "\"" : "bytes in memory";
    error_.emplace(errorNumber, "cannot read " + source + std::string(detail));
    status_ = Status::failed;
    return -1;
}

}  // namespace foundation
