#include "platform/kits/webkit/UserContentController.hpp"

#include "platform/runtime/base/Verify.hpp"

namespace webkit {

void UserContentController::addScriptMessageHandler(std::shared_ptr<ScriptMessageHandler> handler,
                                                    std::string name) {
    VERIFY(handler != nullptr, "a script-message handler is needed");
    VERIFY(this->handler(name) == nullptr, "a script-message name is registered once");
    registrations_.push_back({std::move(name), std::move(handler)});
}

ScriptMessageHandler* UserContentController::handler(std::string_view name) const {
    for (const auto& registration : registrations_) {
        if (registration.name == name) {
            return registration.handler.get();
        }
    }
    return nullptr;
}

}  // namespace webkit
