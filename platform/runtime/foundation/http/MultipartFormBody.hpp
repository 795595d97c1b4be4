#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace foundation {

// The parts of a multipart/form-data body, in the order they were appended,
// for an upload task to send. Nothing is encoded here: the session's transfer
// writes the parts as it sends them, with curl's MIME builder, and announces
// the body with a Content-Type of its own boundary.
class MultipartFormBody {
public:
    struct BodyPart {
        std::string name;
        std::optional<std::string> fileName;
        std::optional<std::string> mimeType;
        // The bytes, or a local file read when the part is sent.
        std::variant<Data, URL> contents;
    };

    // A part of these bytes; without a file name the part has no filename
    // attribute, without a MIME type no Content-Type field. An empty MIME type
    // is sent as an empty Content-Type field.
    void append(Data data, std::string name, std::optional<std::string> fileName = std::nullopt,
                std::optional<std::string> mimeType = std::nullopt);
    // A part whose bytes are the local file's.
    void append(URL fileURL, std::string name, std::optional<std::string> fileName = std::nullopt,
                std::optional<std::string> mimeType = std::nullopt);

    [[nodiscard]] const std::vector<BodyPart>& bodyParts() const noexcept { return parts_; }
    // The bytes of every part's contents; a file that cannot be read counts as empty.
    [[nodiscard]] std::uint64_t contentLength() const;

private:
    std::vector<BodyPart> parts_;
};

}  // namespace foundation
