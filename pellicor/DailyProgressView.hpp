#pragma once

#include "platform/kits/ui/View.hpp"

#include <cstdint>

namespace pellicor {

// The Today widget's ring: it fills with the share of today's due journals that are done and shows
// the number of entries posted today in its centre. Always 80 points across; the stroke follows
// the space it is given.
struct DailyProgressView {
    // 0 to 1; more draws a closed ring.
    float percentage = 0;
    std::int64_t entries = 0;

    [[nodiscard]] ui::View body() const;
};

}  // namespace pellicor
