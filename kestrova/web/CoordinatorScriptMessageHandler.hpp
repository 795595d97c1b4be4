#pragma once

#include "platform/webkit/ScriptMessageHandler.hpp"
#include "kestrova/web/WebWrapperViewCoordinator.hpp"

namespace kestrova {

// The one handler that the web view registers under every script-message name. It reads only the
// message's name and hands it to the bridge (kestrova/web/ScriptMessageHandler.hpp): a known name
// starts its action in a main-actor task, any other is printed.
class WebWrapperView::Coordinator::ScriptMessageHandler final : public webkit::ScriptMessageHandler {
public:
    void didReceiveScriptMessage(const webkit::ScriptMessage& message) override;
};

}  // namespace kestrova
