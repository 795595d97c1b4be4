#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

namespace kestrova {

// Shows the page in an application window: wraps it in the application's own link
// "kestrova:///open?url=<the page>" and asks the desktop to open that link, which comes back to the
// application's link handling. Returns at once; applies no beta rewrite (callers do).
void openInApp(const foundation::URL& url);

}  // namespace kestrova
