#include "tests/support/GtkPixels.hpp"

#include <cstdlib>
#include <filesystem>

namespace testsupport {
namespace {

std::array<int, 3> pixelOf(GdkWindow* window, int x, int y) {
    GdkPixbuf* pixels = gdk_pixbuf_get_from_window(window, x, y, 1, 1);
    if (pixels == nullptr) {
        return {-1, -1, -1};
    }
    const guchar* pixel = gdk_pixbuf_get_pixels(pixels);
    const std::array<int, 3> color{pixel[0], pixel[1], pixel[2]};
    g_object_unref(pixels);
    return color;
}

}  // namespace

std::array<int, 3> pixelAt(GtkWidget* widget, int x, int y) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(widget);
    int windowX = 0;
    int windowY = 0;
    gtk_widget_translate_coordinates(widget, toplevel, x, y, &windowX, &windowY);
    return pixelOf(gtk_widget_get_window(toplevel), windowX, windowY);
}

std::array<int, 3> screenPixelAt(GtkWidget* widget, int x, int y) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(widget);
    int windowX = 0;
    int windowY = 0;
    gtk_widget_translate_coordinates(widget, toplevel, x, y, &windowX, &windowY);
    int screenX = 0;
    int screenY = 0;
    gdk_window_get_root_coords(gtk_widget_get_window(toplevel), windowX, windowY, &screenX, &screenY);
    return pixelOf(gdk_get_default_root_window(), screenX, screenY);
}

GdkPixbuf* screenPixels() {
    if (gdk_display_get_default() == nullptr && gdk_init_check(nullptr, nullptr) == FALSE) {
        return nullptr;
    }
    GdkWindow* root = gdk_get_default_root_window();
    return gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root), gdk_window_get_height(root));
}

void saveScreen(const std::string& name) {
    const char* folder = std::getenv("KESTROVA_PICTURES_DIR");
    if (folder == nullptr) {
        return;
    }
    GdkPixbuf* pixels = screenPixels();
    if (pixels == nullptr) {
        return;
    }
    gdk_pixbuf_save(pixels, (std::filesystem::path(folder) / (name + ".png")).c_str(), "png", nullptr, nullptr);
    g_object_unref(pixels);
}

}  // namespace testsupport
