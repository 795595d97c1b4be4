#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

#include <functional>
#include <string>

namespace widgethost {

// Where a click on a widget goes: first to the workspace. The application's own links ("kestrova:")
// that nothing took there start the application with the link as its argument (being
// single-instance, a running one is handed it). Text that is no URL, or a link that nothing opened,
// is dropped and said on standard error.
class LinkRouter {
public:
    using Open = std::function<bool(const foundation::URL& url)>;
    using Launch = std::function<void(const std::string& link)>;

    LinkRouter(Open workspace, Launch application)
        : workspace_(std::move(workspace)), application_(std::move(application)) {}

    // Starts the application's executable with the link, in a process of its own.
    static Launch startingApplication(std::string applicationExecutable);

    void open(const std::string& link) const;

private:
    Open workspace_;
    Launch application_;
};

}  // namespace widgethost
