#include "platform/kits/ui/Bitmap.hpp"

#include "platform/runtime/base/Verify.hpp"

#include <cairo.h>

#include <cmath>

namespace ui {

Bitmap::Bitmap(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}

Bitmap::Pixel Bitmap::pixel(int x, int y) const {
    VERIFY(x >= 0 && y >= 0 && x < width_ && y < height_, "a pixel inside the bitmap");
    const std::uint32_t value = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    const int alpha = static_cast<int>(value >> 24);
    const auto unpremultiply = [alpha](std::uint32_t channel) {
        return alpha == 0 ? 0 : static_cast<int>(std::lround(static_cast<double>(channel & 0xff) * 255.0 / alpha));
    };
    return {unpremultiply(value >> 16), unpremultiply(value >> 8), unpremultiply(value), alpha};
}

bool Bitmap::writePNG(const std::filesystem::path& file) const {
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(pixels_.data())), CAIRO_FORMAT_ARGB32, width_, height_,
        stride());
    const bool written = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

}  // namespace ui
