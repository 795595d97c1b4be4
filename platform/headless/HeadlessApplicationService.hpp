#pragma once

#include "platform/appkit/ApplicationService.hpp"
#include "platform/headless/HeadlessEffects.hpp"

namespace headless {

// Records "application activated" (with " ignoring other apps" when asked so) and
// "application terminated"; the test process itself goes on.
class HeadlessApplicationService final : public appkit::ApplicationService {
public:
    explicit HeadlessApplicationService(HeadlessEffects& effects) : effects_(effects) {}

    void activate(bool ignoringOtherApps) override {
        effects_.record(ignoringOtherApps ? "application activated ignoring other apps" : "application activated");
    }
    void terminate() override { effects_.record("application terminated"); }

private:
    HeadlessEffects& effects_;
};

}  // namespace headless
