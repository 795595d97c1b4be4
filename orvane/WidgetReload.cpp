#include "orvane/WidgetReload.hpp"

namespace orvane {
namespace {

std::function<void()>& reloader() {
    static std::function<void()> installed;
    return installed;
}

}  // namespace

void reloadAllWidgetTimelines() {
    // Until the widget kit's reload request exists on this platform there
    // is no widget host to tell, so the default does nothing.
    if (const auto& reload = reloader()) {
        reload();
    }
}

void setWidgetTimelineReloader(std::function<void()> reloader_) {
    reloader() = std::move(reloader_);
}

}  // namespace orvane
