#include "tools/widgethost/FollowingHost.hpp"

namespace widgethost {

FollowingHost::FollowingHost(WidgetHost::Parts parts)
    : host_(std::move(parts)), watcher_([this](std::uint64_t count) { host_.reloadRequested(count); }) {
    host_.start(widgetkit::ReloadRequests::count());
}

}  // namespace widgethost
