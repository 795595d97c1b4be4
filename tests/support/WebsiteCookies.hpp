#pragma once

#include "platform/runtime/foundation/http/HTTPCookie.hpp"

#include <vector>

namespace testsupport {

// Every cookie of the default website data store, as its cookie store gives
// them; runs the main loop until they come (an empty list when they do not).
std::vector<foundation::HTTPCookie> allWebsiteCookies();

}  // namespace testsupport
