#pragma once

#include "platform/backends/desktop/ApplicationIdentity.hpp"

namespace desktop {

// GTK 3, WebKitGTK and the session bus: installs the desktop's implementation in every kit the
// application uses, once per process before anything uses a facade. Connecting to the display
// comes first, so that a program started without one says so at once instead of failing later
// inside a facade: throws std::runtime_error then, and installs nothing. The identity's .desktop
// file is what the launcher's quicklist is announced for; its links are opened by the
// application itself.
void installAll(ApplicationIdentity identity = {});

}  // namespace desktop
