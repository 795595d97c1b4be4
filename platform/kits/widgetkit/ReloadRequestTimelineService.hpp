#pragma once

#include "platform/kits/widgetkit/TimelineService.hpp"

#include <string>
#include <utility>

namespace widgetkit {

// Posts the request where the widget host watches for it (ReloadRequests): what the application
// and the intents extension install, each in a process of its own.
class ReloadRequestTimelineService final : public TimelineService {
public:
    // `program` names the process in what it prints.
    explicit ReloadRequestTimelineService(std::string program) : program_(std::move(program)) {}

    void reloadAllTimelines() override;

private:
    std::string program_;
};

}  // namespace widgetkit
