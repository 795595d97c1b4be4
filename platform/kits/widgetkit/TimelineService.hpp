#pragma once

#include "platform/runtime/base/Installable.hpp"

#include <string_view>

namespace widgetkit {

// What is done when the application or an extension asks for the widgets' timelines again.
class TimelineService : public base::Installable<TimelineService> {
public:
    static constexpr std::string_view serviceName = "widgetkit::TimelineService";

    virtual ~TimelineService() = default;

    virtual void reloadAllTimelines() = 0;

protected:
    TimelineService() = default;
};

}  // namespace widgetkit
