#pragma once

#include "platform/runtime/foundation/core/FileDescriptor.hpp"
#include "platform/runtime/foundation/core/InputStream.hpp"
#include "platform/runtime/foundation/core/StreamError.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// A file written from its start: what it held before is replaced. The files
// written this way hold the user's private entries, so one that is created
// is readable and writable by its owner alone, and an existing regular file
// is made so before anything is written into it. A symbolic link at the
// final component is refused rather than followed.
class OutputStream {
public:
    // No stream when the URL is no file URL. Nothing is touched until open().
    static std::optional<OutputStream> toFile(const URL& url);

    OutputStream(OutputStream&&) noexcept = default;
    OutputStream& operator=(OutputStream&&) noexcept = default;

    // Only a stream that was never opened opens; a failure shows in
    // streamError().
    void open();
    // True while the stream is open and nothing has failed: a file always
    // takes more bytes, or fails.
    [[nodiscard]] bool hasSpaceAvailable() const noexcept;
    // Writes what the system takes in one go: a count above 0, or -1 with
    // streamError() set (the disk is full, the file grew past its limit, the
    // stream is not open). Called with no bytes, it writes nothing and gives 0.
    [[nodiscard]] std::ptrdiff_t write(const std::uint8_t* buffer, std::size_t count);
    // Sets disk space aside for a file about to grow to this many bytes,
    // without changing its size: writes into blocks allocated in one go are
    // cheaper than writes that allocate as they go. A hint only, with
    // nothing to report: where the file system, the device or the free space
    // does not allow it, the writes find that out themselves, as without it.
    // What a file that ends up shorter leaves reserved is freed with it.
    void reserve(std::int64_t length) noexcept;
    // Copies up to maxLength bytes from the input's current position into
    // the file in the kernel, which never brings them into this process and
    // shares the disk blocks where the file system can: the count copied,
    // above 0. No value when nothing was copied: at the input's end, when
    // the input is no open file, when the kernel or the file systems cannot
    // copy between the two, or on a failure. The caller then copies through
    // a buffer from where this left off, which meets the end or the failure
    // itself and reports it as read() and write() do.
    [[nodiscard]] std::optional<std::size_t> copyFrom(InputStream& input, std::size_t maxLength);
    // A failure that only closing reveals also shows in streamError().
    void close();
    [[nodiscard]] const std::optional<StreamError>& streamError() const noexcept { return error_; }

private:
    enum class Status { notOpen, open, closed, failed };

    explicit OutputStream(std::string path) : path_(std::move(path)) {}
    // Records the failure as the action, the file's path, then the detail.
    void fail(int errorNumber, std::string_view action, std::string_view detail = {});

    std::string path_;
    FileDescriptor file_;
    Status status_ = Status::notOpen;
    std::optional<StreamError> error_;
};

}  // namespace foundation
