#include "platform/runtime/foundation/http/internal/URLSessionLocalFile.hpp"

#include "platform/runtime/foundation/http/URLError.hpp"

#include <gio/gio.h>

#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace foundation {
namespace {

std::string localPath(const URL& fileURL) {
    if (!fileURL.isFileURL()) {
        throw URLError(URLError::Code::badURL);
    }
    const std::unique_ptr<gchar, decltype(&g_free)> path(
        g_filename_from_uri(fileURL.absoluteString().c_str(), nullptr, nullptr), g_free);
    if (!path) {
        throw URLError(URLError::Code::badURL);
    }
    return std::string(path.get());
}

URLError::Code openFailure(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return URLError::Code::fileDoesNotExist;
    case EACCES:
    case EPERM:
        return URLError::Code::noPermissionsToReadFile;
    default:
        return URLError::Code::cannotOpenFile;
    }
}

}  // namespace

URLSessionLocalFile::URLSessionLocalFile(const URL& fileURL) : path_(localPath(fileURL)) {
    // Non-blocking, so that a FIFO put where a file belongs cannot hang the session's thread.
    descriptor_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor_ < 0) {
        throw URLError(openFailure(errno));
    }
    struct stat status {};
    URLError::Code failure = URLError::Code::cannotOpenFile;
    if (::fstat(descriptor_, &status) == 0) {
        if (S_ISREG(status.st_mode)) {
            size_ = status.st_size;
            return;
        }
        if (S_ISDIR(status.st_mode)) {
            failure = URLError::Code::fileIsDirectory;
        }
    }
    ::close(descriptor_);
    throw URLError(failure);
}

URLSessionLocalFile::~URLSessionLocalFile() {
    ::close(descriptor_);
}

std::optional<std::string> URLSessionLocalFile::mimeType() const {
    gboolean uncertain = FALSE;
    const std::unique_ptr<gchar, decltype(&g_free)> contentType(
        g_content_type_guess(path_.c_str(), nullptr, 0, &uncertain), g_free);
    if (!contentType || uncertain) {
        return std::nullopt;
    }
    const std::unique_ptr<gchar, decltype(&g_free)> mimeType(g_content_type_get_mime_type(contentType.get()),
                                                             g_free);
    if (!mimeType) {
        return std::nullopt;
    }
    return std::string(mimeType.get());
}

std::optional<std::size_t> URLSessionLocalFile::read(char* buffer, std::size_t capacity) {
    ssize_t count = 0;
    do {
        count = ::pread(descriptor_, buffer, capacity, position_);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        return std::nullopt;
    }
    position_ += count;
    return static_cast<std::size_t>(count);
}

bool URLSessionLocalFile::seek(std::int64_t offset) {
    if (offset < 0 || offset > size_) {
        return false;
    }
    position_ = offset;
    return true;
}

}  // namespace foundation
