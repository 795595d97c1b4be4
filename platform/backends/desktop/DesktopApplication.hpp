#pragma once

#include "platform/kits/appkit/Window.hpp"
#include "platform/kits/scenes/App.hpp"

#include <memory>
#include <vector>

namespace desktop {

class DesktopIntentService;
class DesktopWindowRealizer;

// The application on a GtkApplication: one instance per session under the application identifier (a
// second launch hands its URIs to the first over D-Bus and ends), the main menu built from the
// application's commands, the windows of the window group with their tabs, the one Settings window,
// the scenes kept across launches, and the delegate told of launching, activation, the last window
// and continued activities. Its actions are on the bus from before it takes its name.
//
// Started with --gapplication-service (as a runner of its actions starts it), it opens no window and
// serves the bus until it has had no call for `serviceIdleBoundMilliseconds` (10 s); a window opened
// for an action, or an activation, makes it the application a launcher starts, which ends as the
// delegate says.
class DesktopApplication {
public:
    static constexpr int serviceIdleBoundMilliseconds = 10'000;

    DesktopApplication(ui::App app, DesktopWindowRealizer& realizer, DesktopIntentService& intents);
    ~DesktopApplication();
    DesktopApplication(const DesktopApplication&) = delete;
    DesktopApplication& operator=(const DesktopApplication&) = delete;

    // Runs the main loop until the application quits; the exit status.
    int run(int argc, char** argv);
    // Registers on the session bus and opens the first windows, for a caller that runs the main loop
    // itself; false when another instance runs, which was asked to come forward instead.
    bool launch();

    [[nodiscard]] std::vector<std::shared_ptr<appkit::Window>> windows() const;
    [[nodiscard]] std::shared_ptr<appkit::Window> keyWindow() const;
    // Opens the first windows when none is open, else brings the key window to the front; with
    // `ignoringOtherApps` it takes the focus even from another application in use.
    void activate(bool ignoringOtherApps);
    void terminate();
    // A link of the application's own that it opens for itself, shown in a new window; false when this
    // process is not the application's running instance.
    bool openOwnLink(const foundation::URL& url);

    class Implementation;

private:
    std::unique_ptr<Implementation> implementation_;
};

}  // namespace desktop
