#include "platform/kits/widgetkit/WidgetCenter.hpp"

#include "platform/kits/widgetkit/TimelineService.hpp"

namespace widgetkit {

WidgetCenter& WidgetCenter::shared() {
    static WidgetCenter* const center = new WidgetCenter;
    return *center;
}

void WidgetCenter::reloadAllTimelines() {
    TimelineService::installed().reloadAllTimelines();
}

}  // namespace widgetkit
