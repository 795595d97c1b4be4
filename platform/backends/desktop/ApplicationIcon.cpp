#include "platform/backends/desktop/ApplicationIcon.hpp"

#include "platform/kits/ui/AssetCatalog.hpp"
#include "platform/kits/ui/Image.hpp"
#include "platform/kits/ui/Renderer.hpp"

#include <gtk/gtk.h>

namespace desktop {
namespace {

constexpr const char* iconImage = "AppIcon";

GdkPixbuf* pictureOfIcon(int size) {
    const ui::Bitmap bitmap =
        ui::Renderer::render(ui::Image::named(iconImage).resizable().view().frame(size, size), {double(size), double(size)});
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        const_cast<unsigned char*>(reinterpret_cast<const unsigned char*>(bitmap.data())), CAIRO_FORMAT_ARGB32, bitmap.width(),
        bitmap.height(), bitmap.stride());
    GdkPixbuf* picture = gdk_pixbuf_get_from_surface(surface, 0, 0, bitmap.width(), bitmap.height());
    cairo_surface_destroy(surface);
    return picture;
}

}  // namespace

void installApplicationIcon(const std::string& themeName) {
    if (!ui::AssetCatalog::main().imageFile(iconImage)) {
        gtk_window_set_default_icon_name(themeName.c_str());
        return;
    }
    // The largest first: the About window shows the first as its logo; the window manager picks
    // the size it needs.
    GList* pictures = nullptr;
    for (const int size : {128, 64, 48, 32, 16}) {
        pictures = g_list_append(pictures, pictureOfIcon(size));
    }
    gtk_window_set_default_icon_list(pictures);
    g_list_free_full(pictures, g_object_unref);
}

}  // namespace desktop
