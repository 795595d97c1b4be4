#pragma once

#include "platform/intents/Archivable.hpp"
#include "platform/intents/Number.hpp"

#include <memory>
#include <string>
#include <variant>

namespace intents {

// What an intent parameter holds: a text (held as a copy), a number, or an
// object such as a journal or a file (held as a shared reference).
using ParameterValue = std::variant<std::string, Number, std::shared_ptr<Archivable>>;

}  // namespace intents
