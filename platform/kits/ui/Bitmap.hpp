#pragma once

#include "platform/kits/ui/Color.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace ui {

// Pixels in memory: 32-bit premultiplied ARGB in native byte order, rows without gaps, the layout
// that Cairo and GDK use for their image surfaces.
class Bitmap {
public:
    Bitmap(int width, int height);

    [[nodiscard]] int width() const noexcept { return width_; }
    [[nodiscard]] int height() const noexcept { return height_; }
    [[nodiscard]] int stride() const noexcept { return width_ * 4; }
    [[nodiscard]] std::uint32_t* data() noexcept { return pixels_.data(); }
    [[nodiscard]] const std::uint32_t* data() const noexcept { return pixels_.data(); }

    // One pixel, not premultiplied, components 0 to 255.
    struct Pixel {
        int red, green, blue, alpha;
        friend bool operator==(const Pixel&, const Pixel&) = default;
    };
    [[nodiscard]] Pixel pixel(int x, int y) const;

    // Writes a PNG file; false when the file cannot be written.
    bool writePNG(const std::filesystem::path& file) const;
    // The same picture as the bytes of a PNG file.
    [[nodiscard]] std::vector<std::uint8_t> pngData() const;
    // Reads a PNG file's bytes; none when they are no PNG.
    [[nodiscard]] static std::optional<Bitmap> fromPNG(const std::vector<std::uint8_t>& bytes);

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace ui
