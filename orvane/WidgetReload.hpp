#pragma once

#include <functional>

namespace orvane {

// Asks the system to reload the timelines of every widget, after a new
// entry. The call site stands apart from the widget kit so that it can be
// put in place here once, and tests can watch the call.
void reloadAllWidgetTimelines();

// Replaces what reloadAllWidgetTimelines() does; an empty function restores
// the default. Main thread only.
void setWidgetTimelineReloader(std::function<void()> reloader);

}  // namespace orvane
