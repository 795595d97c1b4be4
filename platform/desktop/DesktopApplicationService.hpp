#pragma once

#include "platform/appkit/ApplicationService.hpp"

namespace desktop {

// The application as a whole on GTK: a window comes forward when it is presented, so activating has
// nothing to do of its own; terminating ends the GTK application, or the process when none runs.
class DesktopApplicationService final : public appkit::ApplicationService {
public:
    void activate(bool ignoringOtherApps) override;
    void terminate() override;
};

}  // namespace desktop
