#pragma once

#include "kestrova/model/Journal.hpp"
#include "platform/kits/widgetkit/WidgetFamily.hpp"

#include <vector>

namespace pellicor {

// The journals one Today widget shows, in order: the due journals not done today in due order,
// then the done ones, latest entry first; at most 9 in a large widget (8 when it is less than 320
// points high) and 3 in any other.
[[nodiscard]] std::vector<kestrova::Journal> journalsFittingWidget(const std::vector<kestrova::Journal>& journals,
                                                                   widgetkit::WidgetFamily family, double height);

}  // namespace pellicor
