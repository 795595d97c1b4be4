#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace foundation {

// A local file that a session reads: the body of an upload, streamed in
// pieces so that memory stays flat whatever the file's size, or the target
// of a file: URL. Opening it is where a missing or unreadable file is found,
// before anything is sent. Internal to the session.
class URLSessionLocalFile {
public:
    // Throws URLError: badURL when the URL names no local file, fileDoesNotExist,
    // fileIsDirectory, noPermissionsToReadFile, or cannotOpenFile for anything
    // that is not a regular file.
    explicit URLSessionLocalFile(const URL& fileURL);
    ~URLSessionLocalFile();
    URLSessionLocalFile(const URLSessionLocalFile&) = delete;
    URLSessionLocalFile& operator=(const URLSessionLocalFile&) = delete;

    [[nodiscard]] std::int64_t size() const noexcept { return size_; }
    // Guessed from the name; no value when the guess is uncertain.
    [[nodiscard]] std::optional<std::string> mimeType() const;

    // Reads on from the current position: the count read, 0 at the end, or no value on a read error.
    [[nodiscard]] std::optional<std::size_t> read(char* buffer, std::size_t capacity);
    // Moves the position, for a body that has to be sent again after a redirect.
    [[nodiscard]] bool seek(std::int64_t offset);

private:
    std::string path_;
    int descriptor_ = -1;
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
};

}  // namespace foundation
