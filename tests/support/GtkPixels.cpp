#include "tests/support/GtkPixels.hpp"

namespace testsupport {

std::array<int, 3> pixelAt(GtkWidget* widget, int x, int y) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(widget);
    int windowX = 0;
    int windowY = 0;
    gtk_widget_translate_coordinates(widget, toplevel, x, y, &windowX, &windowY);
    GdkPixbuf* pixels = gdk_pixbuf_get_from_window(gtk_widget_get_window(toplevel), windowX, windowY, 1, 1);
    if (pixels == nullptr) {
        return {-1, -1, -1};
    }
    const guchar* pixel = gdk_pixbuf_get_pixels(pixels);
    const std::array<int, 3> color{pixel[0], pixel[1], pixel[2]};
    g_object_unref(pixels);
    return color;
}

}  // namespace testsupport
