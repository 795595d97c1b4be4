#include "platform/runtime/foundation/core/FileDescriptor.hpp"

#include <cerrno>
#include <utility>

#include <unistd.h>

namespace foundation {

FileDescriptor::~FileDescriptor() {
    close();
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        close();
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

int FileDescriptor::close() noexcept {
    if (descriptor_ < 0) {
        return 0;
    }
    // Retrying close after EINTR could close a descriptor another thread has
    // just been given, so the first answer stands.
    const int result = ::close(std::exchange(descriptor_, -1));
    return result == 0 ? 0 : errno;
}

}  // namespace foundation
