#pragma once

using GtkApplication = struct _GtkApplication;

namespace desktop {

// The standard editing actions of the main menu ("undo", "redo", "cut", "copy", "paste",
// "select-all"), which act on the widget with the keyboard focus: the web page or a text field.
void addEditingActions(GtkApplication* gtk);

}  // namespace desktop
