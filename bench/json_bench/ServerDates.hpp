#pragma once

#include "platform/runtime/foundation/core/Data.hpp"

#include <string_view>

namespace bench {

// The cached form of a user as the API would send it: every date, which the
// default coding writes as seconds since the reference date, rewritten as the
// server's text ("2023-04-05T06:07:08.123Z"). Only the records' date keys are
// touched; a key written inside a string is escaped there and never matches.
foundation::Data withServerDates(std::string_view cachedJSON);

}  // namespace bench
