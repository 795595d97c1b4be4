#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <optional>
#include <string>

namespace orvane {

// A file to attach to a new entry. When the intent's file lives on disk its
// URL is kept and the bytes are read as they are sent, so a large file is
// never held in memory; otherwise `data` holds the bytes.
struct UploadFile {
    std::string name;
    foundation::Data data;
    // The content type sent, as given; may be empty.
    std::string mimeType;
    std::optional<foundation::URL> fileURL{};
};

}  // namespace orvane
