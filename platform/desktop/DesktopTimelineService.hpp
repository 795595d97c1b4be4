#pragma once

#include "platform/widgetkit/TimelineService.hpp"

namespace desktop {

// Posts the request where the widget host watches for it (ReloadRequests).
class DesktopTimelineService final : public widgetkit::TimelineService {
public:
    void reloadAllTimelines() override;
};

}  // namespace desktop
