#pragma once

#include "platform/kits/appkit/ApplicationService.hpp"
#include "platform/backends/desktop/DesktopApplication.hpp"

#include <memory>

namespace desktop {

class DesktopIntentService;
class DesktopWindowRealizer;

// The application as a whole on GTK: runs the GtkApplication of the application's scenes; activating
// is the GTK application's own activation (the first windows when none is open, else the key window
// in front); terminating ends the GTK application, or the process when none runs.
class DesktopApplicationService final : public appkit::ApplicationService {
public:
    DesktopApplicationService(DesktopWindowRealizer& realizer, DesktopIntentService& intents)
        : realizer_(realizer), intents_(intents) {}

    void activate(bool ignoringOtherApps) override;
    void terminate() override;
    int run(ui::App app, int argc, char** argv) override;

    // Registers the application and opens its first windows without running the main loop, for a
    // caller that runs it; false when another instance runs.
    bool launch(ui::App app);

    // Shows a link of the application's own in a new window of the application, when it runs in this
    // process; false when it does not.
    bool openOwnLink(const foundation::URL& url);

    // The running application's windows, none before it runs.
    [[nodiscard]] std::vector<std::shared_ptr<appkit::Window>> windows() const;
    [[nodiscard]] std::shared_ptr<appkit::Window> keyWindow() const;

private:
    DesktopWindowRealizer& realizer_;
    DesktopIntentService& intents_;
    std::unique_ptr<DesktopApplication> running_;
};

}  // namespace desktop
