#pragma once

#include <gtk/gtk.h>

namespace desktop {

// The few style rules windows of the application add to the theme: compact push buttons, as a
// settings window has on other desktops.
class GtkStyle {
public:
    // Adds the rules to the default screen once.
    static void install();
    static void compact(GtkWidget* button);
};

}  // namespace desktop
