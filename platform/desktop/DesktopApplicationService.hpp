#pragma once

#include "platform/appkit/ApplicationService.hpp"

namespace desktop {

// The application as a whole on GTK: the application shell brings its windows forward itself, so
// activating has nothing more to do here; terminating ends the GTK application, or the process when
// none runs.
class DesktopApplicationService final : public appkit::ApplicationService {
public:
    void activate(bool ignoringOtherApps) override;
    void terminate() override;
};

}  // namespace desktop
