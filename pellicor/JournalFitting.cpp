#include "pellicor/JournalFitting.hpp"

#include "kestrova/model/JournalLists.hpp"
#include "pellicor/JournalDays.hpp"

#include <algorithm>
#include <cstddef>

namespace pellicor {
namespace {

std::size_t limitFor(widgetkit::WidgetFamily family, double height) {
    if (family != widgetkit::WidgetFamily::systemLarge) {
        return 3;
    }
    // A large widget under 320 points has no room for a ninth row.
    return height < 320.0 ? 8 : 9;
}

}  // namespace

std::vector<kestrova::Journal> journalsFittingWidget(const std::vector<kestrova::Journal>& journals,
                                                     widgetkit::WidgetFamily family, double height) {
    const auto limit = limitFor(family, height);
    auto fitting = journalsNotDoneToday(journals);
    if (fitting.size() > limit) {
        fitting.resize(limit);
    }
    const auto done = kestrova::journalsDoneToday(journals);
    for (auto latest = done.rbegin(); latest != done.rend() && fitting.size() < limit; ++latest) {
        fitting.push_back(*latest);
    }
    return fitting;
}

}  // namespace pellicor
