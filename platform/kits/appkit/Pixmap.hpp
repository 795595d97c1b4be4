#pragma once

#include <cstdint>
#include <vector>

namespace appkit {

// An image as pixels, the form a panel takes a tray icon in: `width` × `height` pixels, row by row,
// four bytes each in the order alpha, red, green, blue (ARGB32 in network byte order), not
// premultiplied. Whoever draws the icon fills it; an empty pixmap shows no image.
struct Pixmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> argb;

    [[nodiscard]] bool isEmpty() const noexcept { return width <= 0 || height <= 0; }
    // Whether the byte count matches the size.
    [[nodiscard]] bool isValid() const noexcept {
        return width >= 0 && height >= 0 && argb.size() == static_cast<std::size_t>(width) * height * 4;
    }
    friend bool operator==(const Pixmap&, const Pixmap&) = default;
};

}  // namespace appkit
