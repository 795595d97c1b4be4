#include "kestrova/networking/TemporaryFile.hpp"

#include <exception>

namespace kestrova {

TemporaryFile::~TemporaryFile() {
    try {
        fileManager_.removeItem(url_);
    } catch (const std::exception&) {
        // Already gone, never made, or not ours to remove: nothing to do.
    }
}

}  // namespace kestrova
