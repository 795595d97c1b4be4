#pragma once

#include "kestrova/model/Journal.hpp"
#include "platform/kits/ui/View.hpp"
#include "platform/kits/widgetkit/WidgetFamily.hpp"

#include <cstdint>
#include <vector>

namespace pellicor {

// The Today widget: today's journals as links into the application with a progress ring on a
// desktop widget, and compact forms for the accessory families. The family comes from the
// environment the view is laid out in.
struct DailyWidgetView {
    // All of them: the view picks those that fit its family and height.
    std::vector<kestrova::Journal> journals;
    std::int64_t numberOfEntriesToday = 0;
    float percentageToday = 0;

    [[nodiscard]] ui::View body() const;

private:
    [[nodiscard]] ui::View journalList(widgetkit::WidgetFamily family) const;
    [[nodiscard]] ui::View circularAccessory() const;
    [[nodiscard]] ui::View rectangularAccessory() const;
};

}  // namespace pellicor
