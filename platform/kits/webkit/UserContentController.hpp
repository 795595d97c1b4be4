#pragma once

#include "platform/kits/webkit/ScriptMessageHandler.hpp"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace webkit {

// The script-message handlers of a web view's pages, by name, in the order they were added.
class UserContentController {
public:
    struct Registration {
        std::string name;
        std::shared_ptr<ScriptMessageHandler> handler;
    };

    // A name may be added once; adding it again is a fault of the caller.
    void addScriptMessageHandler(std::shared_ptr<ScriptMessageHandler> handler, std::string name);

    [[nodiscard]] const std::vector<Registration>& registrations() const noexcept { return registrations_; }
    // The handler under exactly this name, if any.
    [[nodiscard]] ScriptMessageHandler* handler(std::string_view name) const;

private:
    std::vector<Registration> registrations_;
};

}  // namespace webkit
