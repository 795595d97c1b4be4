#pragma once

#include "platform/kits/intents/HandlerObject.hpp"
#include "platform/kits/intents/Intent.hpp"

#include <memory>

namespace intents {

// The principal object of an intents extension: asked for a handler once per
// intent delivered to the extension; all further work on that intent goes to
// the handler it returns.
class Extension {
public:
    virtual ~Extension() = default;

    [[nodiscard]] virtual std::shared_ptr<HandlerObject> handler(const std::shared_ptr<Intent>& intent) = 0;

protected:
    Extension() = default;
};

}  // namespace intents
