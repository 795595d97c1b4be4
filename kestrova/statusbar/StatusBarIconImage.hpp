#pragma once

#include "platform/kits/appkit/Pixmap.hpp"

namespace kestrova {

class AppState;

// The tray icon's pixels at `size` × `size`, for the state as it is now.
[[nodiscard]] appkit::Pixmap statusBarIconImage(double size, AppState& appState);

}  // namespace kestrova
