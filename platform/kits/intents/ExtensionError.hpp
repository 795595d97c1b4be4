#pragma once

#include <stdexcept>
#include <string>

namespace intents {

// The extension process could not be started, ended before it answered, or
// answered with something that is no answer. what() says which.
class ExtensionError : public std::runtime_error {
public:
    explicit ExtensionError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace intents
