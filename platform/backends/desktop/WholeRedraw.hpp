#pragma once

using GtkWidget = struct _GtkWidget;

namespace desktop {

// The web engine paints its page right only when it paints all of it: a part redrawn alone, such as
// what a closing menu uncovers, shows what lies behind the page instead. From now on, every part of
// its window that is to be drawn again and reaches into the widget takes in the whole widget, in the
// same frame, in whichever window the widget comes to be.
void redrawWhole(GtkWidget* widget);

}  // namespace desktop
