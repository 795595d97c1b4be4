#include "platform/backends/headless/HeadlessTimelineService.hpp"

#include "platform/kits/widgetkit/ReloadRequests.hpp"

#include <exception>

namespace headless {

void HeadlessTimelineService::reloadAllTimelines() {
    effects_.record("widget timelines reloaded");
    try {
        widgetkit::ReloadRequests::post();
    } catch (const std::exception& error) {
        effects_.record(std::string("widget reload request failed: ") + error.what());
    }
}

}  // namespace headless
