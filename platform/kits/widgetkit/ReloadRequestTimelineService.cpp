#include "platform/kits/widgetkit/ReloadRequestTimelineService.hpp"

#include "platform/kits/widgetkit/ReloadRequests.hpp"

#include <cstdio>
#include <exception>

namespace widgetkit {

void ReloadRequestTimelineService::reloadAllTimelines() {
    // The caller cannot act on a failure: what asked for the reload is done either way, and the
    // widgets catch up at their next scheduled refresh.
    try {
        ReloadRequests::post();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: cannot ask the widgets to reload: %s\n", program_.c_str(), error.what());
    }
}

}  // namespace widgetkit
