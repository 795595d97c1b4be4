#include "platform/runtime/foundation/defaults/internal/WholeFile.hpp"

#include "platform/runtime/foundation/core/FileDescriptor.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace foundation {
namespace {

[[noreturn]] void fail(int error, const char* step) {
    throw std::system_error(error, std::generic_category(), step);
}

void writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(errno, "write");
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// On the disk before the file gets its name: a name that survived a power
// cut without its bytes would be an empty file.
void fill(int descriptor, std::string_view bytes) {
    // The umask may have taken bits away, even the owner's.
    if (::fchmod(descriptor, 0600) != 0) {
        fail(errno, "fchmod");
    }
    writeAll(descriptor, bytes);
    if (::fdatasync(descriptor) != 0) {
        fail(errno, "fdatasync");
    }
}

// link(2) and linkat(2) never replace a file, so of several processes that
// make the same file at once exactly one succeeds.
WholeFile::Outcome outcomeOfLinking(int result, const char* step) {
    if (result == 0) {
        return WholeFile::Outcome::created;
    }
    if (errno == EEXIST) {
        return WholeFile::Outcome::nameTaken;
    }
    fail(errno, step);
}

}  // namespace

WholeFile::Outcome WholeFile::create(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path directory = file.has_parent_path() ? file.parent_path() : ".";
    const FileDescriptor unnamed(::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (!unnamed.isOpen()) {
        // Kernels and file systems without unnamed files say so in one of these.
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
            return createThroughHiddenFile(file, bytes);
        }
        fail(errno, "open");
    }
    fill(unnamed.get(), bytes);
    // Naming the descriptor itself (AT_EMPTY_PATH) takes a privilege; its
    // entry in /proc does not.
    const std::string descriptorPath = "/proc/self/fd/" + std::to_string(unnamed.get());
    return outcomeOfLinking(
        ::linkat(AT_FDCWD, descriptorPath.c_str(), AT_FDCWD, file.c_str(), AT_SYMLINK_FOLLOW), "linkat");
}

WholeFile::Outcome WholeFile::createThroughHiddenFile(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path directory = file.has_parent_path() ? file.parent_path() : ".";
    std::string passing = (directory / ("." + file.filename().string() + "-XXXXXX")).string();
    const FileDescriptor named(::mkostemp(passing.data(), O_CLOEXEC));
    if (!named.isOpen()) {
        fail(errno, "mkostemp");
    }
    int result = -1;
    int error = 0;
    try {
        fill(named.get(), bytes);
        result = ::link(passing.c_str(), file.c_str());
        error = errno;
    } catch (...) {
        ::unlink(passing.c_str());
        throw;
    }
    ::unlink(passing.c_str());
    errno = error;
    return outcomeOfLinking(result, "link");
}

}  // namespace foundation
