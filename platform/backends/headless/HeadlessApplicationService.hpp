#pragma once

#include "platform/kits/appkit/ApplicationService.hpp"
#include "platform/backends/headless/HeadlessEffects.hpp"

namespace headless {

// Records "application activated" (with " ignoring other apps" when asked so),
// "application terminated" and "application ran: <identifier>"; the test process itself goes on.
class HeadlessApplicationService final : public appkit::ApplicationService {
public:
    explicit HeadlessApplicationService(HeadlessEffects& effects) : effects_(effects) {}

    void activate(bool ignoringOtherApps) override {
        effects_.record(ignoringOtherApps ? "application activated ignoring other apps" : "application activated");
    }
    void terminate() override { effects_.record("application terminated"); }
    int run(ui::App app, int /*argc*/, char** /*argv*/) override {
        effects_.record("application ran: " + app.identifier);
        return 0;
    }

private:
    HeadlessEffects& effects_;
};

}  // namespace headless
