#include "kestrova/statusbar/StatusBarIconImage.hpp"

#include "kestrova/state/AppState.hpp"

#include <algorithm>
#include <cmath>

namespace kestrova {

// A plain disc until the icon view draws the ring: white when monochrome, else the accent colour.
appkit::Pixmap statusBarIconImage(double size, AppState& appState) {
    const int side = std::max(1, static_cast<int>(std::lround(size)));
    const bool monochrome = appState.statusBarIconMonochrome.get();
    const std::uint8_t red = monochrome ? 0xFF : 0xF2;
    const std::uint8_t green = monochrome ? 0xFF : 0x8C;
    const std::uint8_t blue = monochrome ? 0xFF : 0x28;
    appkit::Pixmap image{side, side, std::vector<std::uint8_t>(static_cast<std::size_t>(side) * side * 4, 0)};
    const double centre = side / 2.0;
    const double radius = side * 0.4;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const double distance = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            const double coverage = std::clamp(radius + 0.5 - distance, 0.0, 1.0);
            auto* pixel = &image.argb[(static_cast<std::size_t>(y) * side + x) * 4];
            pixel[0] = static_cast<std::uint8_t>(std::lround(coverage * 255));
            pixel[1] = red;
            pixel[2] = green;
            pixel[3] = blue;
        }
    }
    return image;
}

}  // namespace kestrova
