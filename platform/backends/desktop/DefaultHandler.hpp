#pragma once

#include <string>

namespace desktop {

// Hands the URI to the desktop's default handler of its scheme (GIO's), the user's browser for web
// pages; false when there is none or it could not be started.
bool openWithDefaultHandler(const std::string& uri);

}  // namespace desktop
