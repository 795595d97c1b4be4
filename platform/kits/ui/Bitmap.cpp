#include "platform/kits/ui/Bitmap.hpp"

#include "platform/runtime/base/Verify.hpp"

#include <cairo.h>

#include <cmath>
#include <cstring>

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

std::vector<std::uint8_t> Bitmap::pngData() const {
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(pixels_.data())), CAIRO_FORMAT_ARGB32, width_, height_,
        stride());
    std::vector<std::uint8_t> bytes;
    const auto append = [](void* closure, const unsigned char* data, unsigned int length) {
        auto& out = *static_cast<std::vector<std::uint8_t>*>(closure);
        out.insert(out.end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
    };
    const cairo_status_t status = cairo_surface_write_to_png_stream(surface, append, &bytes);
    cairo_surface_destroy(surface);
    VERIFY(status == CAIRO_STATUS_SUCCESS, "a bitmap in memory encodes as PNG");
    return bytes;
}

std::optional<Bitmap> Bitmap::fromPNG(const std::vector<std::uint8_t>& bytes) {
    struct Reader {
        const std::vector<std::uint8_t>* bytes;
        std::size_t offset = 0;
    } reader{&bytes};
    const auto read = [](void* closure, unsigned char* data, unsigned int length) {
        auto& from = *static_cast<Reader*>(closure);
        if (from.bytes->size() - from.offset < length) {
            return CAIRO_STATUS_READ_ERROR;
        }
        std::memcpy(data, from.bytes->data() + from.offset, length);
        from.offset += length;
        return CAIRO_STATUS_SUCCESS;
    };
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(read, &reader);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return std::nullopt;
    }
    // Whatever format the file had, the bitmap holds premultiplied ARGB.
    Bitmap bitmap(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    cairo_surface_t* target = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(bitmap.data()),
                                                                  CAIRO_FORMAT_ARGB32, bitmap.width(), bitmap.height(),
                                                                  bitmap.stride());
    cairo_t* cairo = cairo_create(target);
    cairo_set_source_surface(cairo, surface, 0, 0);
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cairo);
    cairo_destroy(cairo);
    cairo_surface_flush(target);
    cairo_surface_destroy(target);
    cairo_surface_destroy(surface);
    return bitmap;
}

}  // namespace ui
