// A second process for the widget reload tests, standing for the intents
// extension (which asks for reloads) or the widget host (which reads them):
//   reload_peer post N     asks N times, then exits
//   reload_peer count      prints the requests so far
#include "platform/kits/widgetkit/ReloadRequestTimelineService.hpp"
#include "platform/kits/widgetkit/ReloadRequests.hpp"
#include "platform/kits/widgetkit/WidgetCenter.hpp"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    // Only the widgets' kit, as the intents extension installs it.
    widgetkit::TimelineService::install(std::make_unique<widgetkit::ReloadRequestTimelineService>("reload_peer"));
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "post" && argc == 3) {
        const int times = std::atoi(argv[2]);
        for (int i = 0; i < times; ++i) {
            widgetkit::WidgetCenter::shared().reloadAllTimelines();
        }
        return 0;
    }
    if (command == "count") {
        std::printf("%llu\n", static_cast<unsigned long long>(widgetkit::ReloadRequests::count()));
        return 0;
    }
    std::fprintf(stderr, "usage: reload_peer post N | count\n");
    return 2;
}
