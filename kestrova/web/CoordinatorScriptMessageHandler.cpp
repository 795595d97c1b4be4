#include "kestrova/web/CoordinatorScriptMessageHandler.hpp"

#include "kestrova/web/ScriptMessageHandler.hpp"

namespace kestrova {

void WebWrapperView::Coordinator::ScriptMessageHandler::didReceiveScriptMessage(const webkit::ScriptMessage& message) {
    kestrova::ScriptMessageHandler{}.didReceive(message.name);
}

}  // namespace kestrova
