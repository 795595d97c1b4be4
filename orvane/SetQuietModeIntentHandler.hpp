#pragma once

#include "kestrova/intents/SetQuietModeIntentHandling.hpp"
#include "orvane/ExtensionStore.hpp"

namespace orvane {

// Turns the user's quiet mode on or off on the server. Implements the
// asynchronous forms; the platform's callback forms run them in new tasks.
class SetQuietModeIntentHandler final : public kestrova::SetQuietModeIntentHandling {
public:
    using SetQuietModeIntentHandling::handle;
    using SetQuietModeIntentHandling::resolveQuietMode;

    concurrency::Task<std::shared_ptr<kestrova::SetQuietModeIntentResponse>> handle(
        std::shared_ptr<kestrova::SetQuietModeIntent> intent) override;
    concurrency::Task<std::shared_ptr<intents::BooleanResolutionResult>> resolveQuietMode(
        std::shared_ptr<kestrova::SetQuietModeIntent> intent) override;

private:
    const ExtensionStore store_;
};

}  // namespace orvane
