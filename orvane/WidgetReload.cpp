#include "orvane/WidgetReload.hpp"

#include "platform/widgetkit/ReloadRequests.hpp"

#include <cstdio>
#include <exception>

namespace orvane {
namespace {

std::function<void()>& reloader() {
    static std::function<void()> installed;
    return installed;
}

// The extension runs without a desktop session, so it posts the request
// that the widget host watches itself rather than through a backend.
void postReloadRequest() {
    try {
        widgetkit::ReloadRequests::post();
    } catch (const std::exception& error) {
        // The entry is published either way; the widgets catch up at their
        // next scheduled refresh.
        std::fprintf(stderr, "orvane: cannot ask the widgets to reload: %s\n", error.what());
    }
}

}  // namespace

void reloadAllWidgetTimelines() {
    if (const auto& reload = reloader()) {
        reload();
    } else {
        postReloadRequest();
    }
}

void setWidgetTimelineReloader(std::function<void()> reloader_) {
    reloader() = std::move(reloader_);
}

}  // namespace orvane
