#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

#include <functional>
#include <string>

namespace widgethost {

// Where a click on a widget goes. The application's own links ("kestrova:") go to the running
// application through the workspace; when nothing took one there, the application is started with
// the link as its argument (being single-instance, a running one is handed it). Any other URL goes
// to the workspace. Text that is no URL is dropped.
class LinkRouter {
public:
    using Open = std::function<bool(const foundation::URL& url)>;
    using Launch = std::function<void(const std::string& link)>;

    LinkRouter(Open workspace, Launch application)
        : workspace_(std::move(workspace)), application_(std::move(application)) {}

    // appkit::Workspace and the application's executable.
    static LinkRouter system(std::string applicationExecutable);
    // Starts the application's executable with the link, in a process of its own.
    static Launch startingApplication(std::string applicationExecutable);

    void open(const std::string& link) const;

private:
    Open workspace_;
    Launch application_;
};

}  // namespace widgethost
