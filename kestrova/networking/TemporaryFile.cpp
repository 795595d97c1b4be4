#include "kestrova/networking/TemporaryFile.hpp"

#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/foundation/core/InputStream.hpp"

#include <exception>
#include <memory>

namespace kestrova {

TemporaryFile::~TemporaryFile() {
    // Letting go of a large file that was just written, its pages in memory
    // and its blocks on disk, takes a tenth of a second per gigabyte. A file
    // held open outlives its name: the name goes here, so that nothing is
    // left behind once the work returns, and the rest goes on another thread
    // when that holder lets go.
    auto holder = foundation::InputStream::fromFile(url_);
    try {
        fileManager_.removeItem(url_);
    } catch (const std::exception&) {
        // Already gone, never made, or not ours to remove: nothing to do.
    }
    if (holder) {
        concurrency::GlobalExecutor::shared().enqueue(
            [held = std::make_shared<foundation::InputStream>(std::move(*holder))]() mutable { held.reset(); });
    }
}

}  // namespace kestrova
