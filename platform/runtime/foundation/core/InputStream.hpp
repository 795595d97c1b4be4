#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/FileDescriptor.hpp"
#include "platform/runtime/foundation/core/StreamError.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// A source of bytes read in chunks: bytes held in memory, or a local file
// that is never held in memory as a whole. Open it, read while it has bytes
// available, close it; a stream is read once.
class InputStream {
public:
    explicit InputStream(Data bytes);
    // No stream when the URL is no file URL or the file cannot be opened for
    // reading. The file is opened here rather than at open(), so that a file
    // the process may not read is found when the stream is made, and what is
    // read later is the file that was found then, whatever the path names by
    // that time.
    static std::optional<InputStream> fromFile(const URL& url);

    InputStream(InputStream&&) noexcept = default;
    InputStream& operator=(InputStream&&) noexcept = default;

    // Only a stream that was never opened opens; otherwise nothing happens.
    void open();
    // True while the stream is open and its end has not been met.
    [[nodiscard]] bool hasBytesAvailable() const noexcept;
    // Reads up to maxLength bytes: the count read, 0 at the end, or -1 with
    // streamError() set when the stream is not open or reading fails.
    [[nodiscard]] std::ptrdiff_t read(std::uint8_t* buffer, std::size_t maxLength);
    void close();
    [[nodiscard]] const std::optional<StreamError>& streamError() const noexcept { return error_; }

private:
    // Copies a file stream's bytes in the kernel.
    friend class OutputStream;

    enum class Status { notOpen, open, atEnd, closed, failed };

    InputStream(std::string path, FileDescriptor file);
    [[nodiscard]] std::ptrdiff_t readFile(std::uint8_t* buffer, std::size_t maxLength);
    [[nodiscard]] std::ptrdiff_t readBytes(std::uint8_t* buffer, std::size_t maxLength);
    // Records the failure; detail follows the name of what was being read.
    std::ptrdiff_t fail(int errorNumber, std::string_view detail = {});

    Data bytes_;
    std::size_t offset_ = 0;
    // Set for a file stream, which reads from file_ instead of bytes_.
    std::optional<std::string> path_;
    FileDescriptor file_;
    Status status_ = Status::notOpen;
    std::optional<StreamError> error_;
};

}  // namespace foundation
