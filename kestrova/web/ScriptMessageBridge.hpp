#pragma once

#include "platform/kits/webkit/ScriptMessageHandler.hpp"

#include <string>
#include <vector>

namespace kestrova {

// The one handler that a window's web view registers under every name of registeredNames(). Only a
// message's name counts; its body is never read.
class ScriptMessageBridge final : public webkit::ScriptMessageHandler {
public:
    // The raw values of every JSMethod, in their order.
    static std::vector<std::string> registeredNames();

    // On the main thread. A known name starts a main-actor task that performs its action; any other
    // name prints "Unkown JSMethod: " and the name, and nothing else happens.
    void didReceiveScriptMessage(const webkit::ScriptMessage& message) override;
};

}  // namespace kestrova
