#pragma once

namespace desktop {

// Installs the GTK widget board, for the widget host: needs only a display, not the application's
// backend. Throws std::runtime_error without a display, and installs nothing then. Main thread only.
void installWidgetBoard();

}  // namespace desktop
