#pragma once

#include "platform/kits/appintents/IntentService.hpp"
#include "platform/kits/appkit/Application.hpp"

namespace headless {

// Serves nobody: keeps the catalogue the application gives, for a test to call in process, and
// an action that opens the application activates it as the desktop's would.
class HeadlessIntentService final : public appintents::IntentService {
public:
    void serve(appintents::IntentCatalogue& catalogue) override {
        catalogue.setOpenApplication([] { appkit::Application::shared().activate(true); });
        served_ = &catalogue;
    }

    // None before the application gave its catalogue.
    [[nodiscard]] appintents::IntentCatalogue* served() const noexcept { return served_; }

private:
    appintents::IntentCatalogue* served_ = nullptr;
};

}  // namespace headless
