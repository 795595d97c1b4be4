#pragma once

#include <gtk/gtk.h>

#include <array>
#include <string>

namespace testsupport {

// The colour that the display shows at a point of the widget (in the widget's coordinates): red,
// green and blue from 0 to 255; all -1 when the window cannot be read.
std::array<int, 3> pixelAt(GtkWidget* widget, int x, int y);

// The same as the screen shows it, whichever window lies there: a menu over the widget, say.
std::array<int, 3> screenPixelAt(GtkWidget* widget, int x, int y);

// The whole screen as the display shows it now, opening the display first when the process has not;
// null without one. The caller gives it back with g_object_unref.
GdkPixbuf* screenPixels();

// The screen kept as <name>.png in KESTROVA_PICTURES_DIR, when that is set, for a person to look at.
void saveScreen(const std::string& name);

}  // namespace testsupport
