#include "platform/desktop/DesktopTimelineService.hpp"

#include "platform/widgetkit/ReloadRequests.hpp"

#include <cstdio>
#include <exception>

namespace desktop {

void DesktopTimelineService::reloadAllTimelines() {
    // The caller cannot act on a failure; the widgets then show their data until their next
    // scheduled refresh.
    try {
        widgetkit::ReloadRequests::post();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kestrova: cannot ask the widgets to reload: %s\n", error.what());
    }
}

}  // namespace desktop
