#pragma once

#include "platform/runtime/foundation/core/FileManager.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

namespace kestrova {

// A file that this process writes for its own use and removes when the work
// that needed it ends, however it ends: returned, thrown, or a coroutine
// destroyed while suspended. Nothing need exist at the URL yet; a removal
// that fails is ignored, since it cannot change what the work achieved. The
// name is gone when the owner is; the memory and disk space the file held
// are given back on a background thread.
class TemporaryFile {
public:
    TemporaryFile(foundation::URL url, const foundation::FileManager& fileManager)
        : url_(std::move(url)), fileManager_(fileManager) {}
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    [[nodiscard]] const foundation::URL& url() const noexcept { return url_; }

private:
    foundation::URL url_;
    const foundation::FileManager& fileManager_;
};

}  // namespace kestrova
