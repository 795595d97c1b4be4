#pragma once

#include "platform/kits/intents/ExtensionError.hpp"

#include <chrono>
#include <string>

namespace intents {

// The extension did not answer an operation within its bound, and the host
// has stopped it.
class ExtensionTimeout : public ExtensionError {
public:
    ExtensionTimeout(const std::string& selector, std::chrono::seconds bound)
        : ExtensionError("the extension did not answer " + selector + " within " + std::to_string(bound.count()) +
                         " s and was stopped"),
          selector_(selector),
          bound_(bound) {}

    [[nodiscard]] const std::string& selector() const noexcept { return selector_; }
    [[nodiscard]] std::chrono::seconds bound() const noexcept { return bound_; }

private:
    std::string selector_;
    std::chrono::seconds bound_;
};

}  // namespace intents
