#pragma once

#include "tools/widgethost/WidgetHost.hpp"
#include "platform/kits/widgetkit/ReloadRequests.hpp"

namespace widgethost {

// The host as `widgethost show` runs it: started, then following the app group's reload counter
// for as long as it lives. The watch begins before the count is read, so that no request made in
// between is missed. Made on the main thread; throws std::runtime_error when no app-group
// directory is configured or it cannot be watched.
class FollowingHost {
public:
    explicit FollowingHost(WidgetHost::Parts parts);

    [[nodiscard]] const WidgetHost& host() const noexcept { return host_; }

private:
    WidgetHost host_;
    widgetkit::ReloadRequests::Watcher watcher_;
};

}  // namespace widgethost
