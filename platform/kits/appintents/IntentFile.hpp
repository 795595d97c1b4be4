#pragma once

#include "platform/kits/appintents/UTType.hpp"
#include "platform/runtime/foundation/core/Data.hpp"

#include <optional>
#include <string>

namespace appintents {

// A file handed to an action: its whole contents, its name and its type, when it has one.
struct IntentFile {
    foundation::Data data;
    std::string filename;
    std::optional<UTType> type;

    friend bool operator==(const IntentFile&, const IntentFile&) = default;
};

}  // namespace appintents
