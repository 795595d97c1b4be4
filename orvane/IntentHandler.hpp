#pragma once

#include "platform/kits/intents/Extension.hpp"

namespace orvane {

// The extension's principal object: a fresh handler of the matching kind for
// every intent. Any other intent is a fault of the build and stops the
// process with "Unhandled intent type: " and the intent's description.
class IntentHandler final : public intents::Extension {
public:
    std::shared_ptr<intents::HandlerObject> handler(const std::shared_ptr<intents::Intent>& intent) override;
};

}  // namespace orvane
