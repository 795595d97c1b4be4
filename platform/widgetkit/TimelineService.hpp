#pragma once

namespace widgetkit {

// What the installed backend does when the application asks for the widgets' timelines again.
class TimelineService {
public:
    virtual ~TimelineService() = default;

    virtual void reloadAllTimelines() = 0;

protected:
    TimelineService() = default;
};

}  // namespace widgetkit
