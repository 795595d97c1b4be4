#pragma once

#include "platform/kits/intents/Archivable.hpp"

#include <memory>
#include <optional>
#include <string>

namespace intents {

// What a handler gives back for one operation: a response, a resolution
// result, an option collection, a default object, or nothing; option
// providers may add an error text.
struct HandlerAnswer {
    std::shared_ptr<const Archivable> object;
    std::optional<std::string> error;
};

}  // namespace intents
