#pragma once

#include "platform/kits/webkit/ScriptMessage.hpp"

namespace webkit {

// Receives the messages a page posts under the names it is registered with. On the main thread.
class ScriptMessageHandler {
public:
    virtual ~ScriptMessageHandler() = default;
    virtual void didReceiveScriptMessage(const ScriptMessage& message) = 0;

protected:
    ScriptMessageHandler() = default;
    ScriptMessageHandler(const ScriptMessageHandler&) = default;
    ScriptMessageHandler& operator=(const ScriptMessageHandler&) = default;
};

}  // namespace webkit
