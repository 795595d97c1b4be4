#pragma once

#include "platform/kits/intents/Archivable.hpp"
#include "platform/kits/intents/Number.hpp"

#include <memory>
#include <string>
#include <variant>

namespace intents {

// What an intent parameter holds: a text (held as a copy), a number, or an
// object such as a journal or a file (held as a shared reference).
using ParameterValue = std::variant<std::string, Number, std::shared_ptr<Archivable>>;

}  // namespace intents
