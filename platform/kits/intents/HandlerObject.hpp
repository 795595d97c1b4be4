#pragma once

#include "platform/kits/intents/HandlerAnswer.hpp"
#include "platform/kits/intents/Intent.hpp"

#include <functional>
#include <memory>
#include <string_view>

namespace intents {

// An object that an extension hands out to handle intents. The platform sends
// it each operation by selector (Selector); the handling protocols of an
// intent schema answer the selectors they declare and route them to their
// typed operations.
class HandlerObject {
public:
    using Reply = std::function<void(HandlerAnswer)>;

    virtual ~HandlerObject() = default;

    // Performs the operation and calls `reply` once, now or later, on any
    // thread; false, without calling it, when the object does not respond to
    // the selector or the intent is not of the protocol's class.
    virtual bool perform(std::string_view selector, const std::shared_ptr<Intent>& intent, Reply reply) = 0;

protected:
    HandlerObject() = default;
};

}  // namespace intents
