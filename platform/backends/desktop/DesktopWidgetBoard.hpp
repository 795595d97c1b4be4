#pragma once

namespace desktop {

// Installs the GTK widget board, for the widget host: needs only a display, not the application's
// backend. Throws std::runtime_error without a display, and installs nothing then. Main thread only.
void installWidgetBoard();

// Runs the main loop until the process is asked to end (SIGTERM, SIGINT or SIGHUP); returns the exit
// status, 0.
int runWidgetBoardUntilTerminated();

}  // namespace desktop
