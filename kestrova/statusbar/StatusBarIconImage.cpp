#include "kestrova/statusbar/StatusBarIconImage.hpp"

#include "kestrova/state/AppState.hpp"
#include "kestrova/views/StatusBarIconView.hpp"
#include "platform/kits/ui/Renderer.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kestrova {
namespace {

// How strongly the rim shows around a fully dark mark.
constexpr double rimOpacity = 0.9;

// How much dark ink a pixel puts on the panel, 0 to 1: its coverage times its darkness, where only
// the darker half of the greys counts, so that a coloured mark (the "Daily" arc, the application
// icon) gets no rim.
double ink(const ui::Bitmap::Pixel& pixel) {
    const double lightness = (0.2126 * pixel.red + 0.7152 * pixel.green + 0.0722 * pixel.blue) / 255;
    return pixel.alpha / 255.0 * std::clamp(1 - 2 * lightness, 0.0, 1.0);
}

// The icon over a light rim around its dark marks. The panel's colour is the panel's own (GNOME's bar
// is dark whatever the theme says), and a mark in black vanishes on a dark one: the rim keeps its
// outline visible there, while a light panel hides it.
appkit::Pixmap withLightRim(const ui::Bitmap& bitmap, int reach) {
    const int width = bitmap.width();
    const int height = bitmap.height();
    std::vector<double> inks;
    inks.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            inks.push_back(ink(bitmap.pixel(x, y)));
        }
    }
    // The tray takes straight (not premultiplied) ARGB, one byte per component, alpha first.
    appkit::Pixmap image{width, height, {}};
    image.argb.reserve(inks.size() * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double nearby = 0;
            for (int ny = std::max(0, y - reach); ny <= std::min(height - 1, y + reach); ++ny) {
                for (int nx = std::max(0, x - reach); nx <= std::min(width - 1, x + reach); ++nx) {
                    nearby = std::max(nearby, inks[static_cast<std::size_t>(ny) * width + nx]);
                }
            }
            const auto pixel = bitmap.pixel(x, y);
            const double alpha = pixel.alpha / 255.0;
            const double rim = rimOpacity * nearby * (1 - alpha);
            const double shown = alpha + rim;
            const auto component = [&](int channel) {
                return shown > 0 ? static_cast<std::uint8_t>(std::lround((channel * alpha + 255 * rim) / shown)) : 0;
            };
            image.argb.push_back(static_cast<std::uint8_t>(std::lround(shown * 255)));
            image.argb.push_back(component(pixel.red));
            image.argb.push_back(component(pixel.green));
            image.argb.push_back(component(pixel.blue));
        }
    }
    return image;
}

}  // namespace

appkit::Pixmap statusBarIconImage(double size, AppState& appState) {
    const double side = std::max(1.0, std::round(size));
    const StatusBarIconView view(side, appState.statusBarIconMonochrome.binding());
    const ui::Bitmap bitmap = ui::Renderer::render(ui::View(view), ui::Size{side, side});
    // A pixel's rim on the tray's usual 22 pixels, in proportion on other sizes.
    return withLightRim(bitmap, std::max(1, static_cast<int>(std::lround(side / 22))));
}

}  // namespace kestrova
