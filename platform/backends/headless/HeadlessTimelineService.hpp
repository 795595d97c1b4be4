#pragma once

#include "platform/backends/headless/HeadlessEffects.hpp"
#include "platform/kits/widgetkit/TimelineService.hpp"

namespace headless {

// Records "widget timelines reloaded" and posts the request for real in the (test's) app-group
// directory, where a widget host in another process sees it.
class HeadlessTimelineService final : public widgetkit::TimelineService {
public:
    explicit HeadlessTimelineService(HeadlessEffects& effects) : effects_(effects) {}

    void reloadAllTimelines() override;

private:
    HeadlessEffects& effects_;
};

}  // namespace headless
