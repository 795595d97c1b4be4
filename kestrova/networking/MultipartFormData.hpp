#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/FileManager.hpp"
#include "platform/runtime/foundation/core/InputStream.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// A "multipart/form-data" body built from named parts, streamed into a file
// so that an upload never holds the whole body, nor any file of it, in
// memory. A builder is filled once and written once: writing reads each
// part's body to its end.
class MultipartFormData {
public:
    // One header line of a part.
    struct HTTPHeader {
        std::string name;
        std::string value;

        friend bool operator==(const HTTPHeader&, const HTTPHeader&) = default;
    };

    // One part: its header lines and the stream its body is read from.
    class BodyPart {
    public:
        BodyPart(std::vector<HTTPHeader> headers, foundation::InputStream bodyStream,
                 std::int64_t bodyContentLength)
            : headers_(std::move(headers)), bodyStream_(std::move(bodyStream)),
              bodyContentLength_(bodyContentLength) {}

        [[nodiscard]] const std::vector<HTTPHeader>& headers() const noexcept { return headers_; }
        [[nodiscard]] foundation::InputStream& bodyStream() noexcept { return bodyStream_; }
        // The byte count of the data, or the file's size when it was added.
        [[nodiscard]] std::int64_t bodyContentLength() const noexcept { return bodyContentLength_; }
        [[nodiscard]] bool hasInitialBoundary() const noexcept { return hasInitialBoundary_; }
        void setHasInitialBoundary(bool value) noexcept { hasInitialBoundary_ = value; }
        [[nodiscard]] bool hasFinalBoundary() const noexcept { return hasFinalBoundary_; }
        void setHasFinalBoundary(bool value) noexcept { hasFinalBoundary_ = value; }

    private:
        std::vector<HTTPHeader> headers_;
        foundation::InputStream bodyStream_;
        std::int64_t bodyContentLength_;
        bool hasInitialBoundary_ = false;
        bool hasFinalBoundary_ = false;
    };

    // The size of the chunks in which a part's body is copied into the file
    // through memory: bytes in memory, and file blocks that the kernel cannot
    // copy from file to file itself.
    static constexpr std::int64_t streamBufferSize = 1024;

    // No parts yet, and a boundary of its own: a fresh UUID's upper-case text.
    MultipartFormData();
    MultipartFormData(const MultipartFormData&) = delete;
    MultipartFormData& operator=(const MultipartFormData&) = delete;
    MultipartFormData(MultipartFormData&&) noexcept = default;
    MultipartFormData& operator=(MultipartFormData&&) noexcept = default;

    [[nodiscard]] const std::vector<BodyPart>& bodyParts() const noexcept { return bodyParts_; }
    [[nodiscard]] const std::string& boundary() const noexcept { return boundary_; }
    [[nodiscard]] foundation::FileManager& fileManager() const noexcept { return *fileManager_; }

    // A part whose body is the given bytes.
    void append(foundation::Data data, std::string_view name,
                std::optional<std::string_view> fileName = std::nullopt,
                std::optional<std::string_view> mimeType = std::nullopt);
    // A part whose body is read from a local file when the form is written.
    // A file that cannot be used (no file URL, not reachable, missing, a
    // directory, without a byte size, not readable) adds no part and tells
    // the caller nothing; only attributes that cannot be read print their
    // failure as one line on standard output.
    void append(const foundation::URL& fileURL, std::string_view name, std::string_view fileName,
                std::string_view mimeType);

    // Writes the encoded body to the file, replacing what it held, readable
    // by its owner alone; no parts give an empty file. Throws foundation::StreamError when the file cannot
    // be opened or written or a part's body cannot be read: the parts after
    // it are not written, and the file keeps what was written so far. A URL
    // that is no file URL writes nothing and reports nothing.
    void writeEncodedData(const foundation::URL& fileURL);

private:
    std::vector<BodyPart> bodyParts_;
    std::string boundary_;
    foundation::FileManager* fileManager_;
};

}  // namespace kestrova
