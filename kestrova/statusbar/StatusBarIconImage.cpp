#include "kestrova/statusbar/StatusBarIconImage.hpp"

#include "kestrova/state/AppState.hpp"
#include "kestrova/views/StatusBarIconView.hpp"
#include "platform/ui/Renderer.hpp"

#include <algorithm>
#include <cmath>

namespace kestrova {

appkit::Pixmap statusBarIconImage(double size, AppState& appState) {
    const double side = std::max(1.0, std::round(size));
    const StatusBarIconView view(side, appState.statusBarIconMonochrome.binding());
    const ui::Bitmap bitmap = ui::Renderer::render(ui::View(view), ui::Size{side, side});

    // The tray takes straight (not premultiplied) ARGB, one byte per component, alpha first.
    appkit::Pixmap image{bitmap.width(), bitmap.height(), {}};
    image.argb.reserve(static_cast<std::size_t>(bitmap.width()) * bitmap.height() * 4);
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            const auto pixel = bitmap.pixel(x, y);
            for (const int component : {pixel.alpha, pixel.red, pixel.green, pixel.blue}) {
                image.argb.push_back(static_cast<std::uint8_t>(component));
            }
        }
    }
    return image;
}

}  // namespace kestrova
