#pragma once

using GtkApplication = struct _GtkApplication;

namespace desktop {

// "continue-activity" with the archived activity as text, which other programs call over D-Bus
// (org.gtk.Actions.Activate) to hand work over to the application: the delegate continues the
// activity; text that is no archived activity is reported on standard error and dropped.
void addContinueActivityAction(GtkApplication* gtk);

}  // namespace desktop
