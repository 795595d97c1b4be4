#pragma once

#include "platform/kits/ui/Bitmap.hpp"
#include "platform/kits/ui/Renderer.hpp"
#include "platform/kits/widgetkit/WidgetFamily.hpp"
#include "platform/runtime/foundation/core/Data.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace pellicor::testing {

// Pixels per point of the pictures: enough that a 10-point digit has solid strokes to look at.
inline constexpr double pictureScale = 4;

// The view painted as a widget host shows it, dark and at the family's size; also written to
// KESTROVA_PICTURES_DIR under `name` for a person to look at.
inline ui::Bitmap renderWidget(const ui::View& view, ui::Size size, widgetkit::WidgetFamily family, const std::string& name) {
    ui::Renderer::Options options = ui::Renderer::Options::atScale(pictureScale);
    options.environment.colorScheme = ui::ColorScheme::dark;
    widgetkit::setWidgetFamily(options.environment, family);
    ui::Bitmap bitmap = ui::Renderer::render(view, size, options);
    if (const char* directory = std::getenv("KESTROVA_PICTURES_DIR")) {
        bitmap.writePNG(std::string(directory) + "/" + name + ".png");
    }
    return bitmap;
}

inline ui::Bitmap renderWidget(const ui::View& view, widgetkit::WidgetFamily family, const std::string& name) {
    return renderWidget(view, widgetkit::nominalSize(family), family, name);
}

// The pixel under a point, in points.
inline ui::Bitmap::Pixel at(const ui::Bitmap& bitmap, double x, double y) {
    return bitmap.pixel(static_cast<int>(x * pictureScale), static_cast<int>(y * pictureScale));
}

// An opaque pixel of the colour, as the dark scheme resolves it.
inline bool isSolid(const ui::Bitmap::Pixel& pixel, const ui::Color& color, int tolerance = 24) {
    const ui::RGBA want = color.resolve(ui::ColorScheme::dark);
    const auto near = [tolerance](int got, double wanted) { return std::abs(got - static_cast<int>(std::lround(wanted * 255))) <= tolerance; };
    return pixel.alpha > 230 && near(pixel.red, want.red) && near(pixel.green, want.green) && near(pixel.blue, want.blue);
}

// How many pixels inside the rectangle (points) satisfy the condition.
template <typename Condition>
int countIn(const ui::Bitmap& bitmap, ui::Rect area, Condition condition) {
    int found = 0;
    for (int y = static_cast<int>(area.minY() * pictureScale); y < static_cast<int>(area.maxY() * pictureScale); ++y) {
        for (int x = static_cast<int>(area.minX() * pictureScale); x < static_cast<int>(area.maxX() * pictureScale); ++x) {
            if (x >= 0 && y >= 0 && x < bitmap.width() && y < bitmap.height()) {
                found += condition(bitmap.pixel(x, y)) ? 1 : 0;
            }
        }
    }
    return found;
}

// A 4 × 4 opaque red picture as the bytes of a PNG file, as an icon download gives them.
inline foundation::Data redSquarePNG() {
    ui::Bitmap bitmap(4, 4);
    for (int i = 0; i < 16; ++i) {
        bitmap.data()[i] = 0xFFFF0000U;
    }
    const testsupport::ScratchDirectory scratch;
    bitmap.writePNG(scratch / "icon.png");
    std::ifstream file(scratch / "icon.png", std::ios::binary);
    return foundation::Data(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
}

}  // namespace pellicor::testing
