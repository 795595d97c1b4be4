#pragma once

#include <gtk/gtk.h>

#include <array>

namespace testsupport {

// The colour that the display shows at a point of the widget (in the widget's coordinates): red,
// green and blue from 0 to 255; all -1 when the window cannot be read.
std::array<int, 3> pixelAt(GtkWidget* widget, int x, int y);

// The same as the screen shows it, whichever window lies there: a menu over the widget, say.
std::array<int, 3> screenPixelAt(GtkWidget* widget, int x, int y);

}  // namespace testsupport
