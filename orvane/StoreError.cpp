#include "orvane/StoreError.hpp"

#include <cstdio>

namespace orvane {

void StoreError::report(std::string_view failed) const {
    std::fprintf(stderr, "orvane: %.*s: %s\n", static_cast<int>(failed.size()), failed.data(), what());
    std::fflush(stderr);
}

}  // namespace orvane
