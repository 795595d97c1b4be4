#pragma once

#include <functional>

namespace orvane {

// Asks the widget host to reload the timelines of every widget, after a new
// entry: a request that a host running now, or starting later, acts on.
void reloadAllWidgetTimelines();

// Replaces what reloadAllWidgetTimelines() does; an empty function restores
// the default. Main thread only.
void setWidgetTimelineReloader(std::function<void()> reloader);

}  // namespace orvane
