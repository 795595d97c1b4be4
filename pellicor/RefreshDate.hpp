#pragma once

#include "platform/runtime/foundation/core/Date.hpp"

namespace pellicor {

// When a timeline made now is to be replaced: 15 minutes from now by the current calendar.
[[nodiscard]] foundation::Date refreshDate();

}  // namespace pellicor
