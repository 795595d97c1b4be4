#pragma once

#include "platform/kits/ui/Bitmap.hpp"
#include "platform/kits/ui/View.hpp"
#include "platform/kits/widgetkit/RenderedEntry.hpp"
#include "platform/kits/widgetkit/WidgetConfiguration.hpp"
#include "platform/kits/widgetkit/WidgetFamily.hpp"

#include <optional>
#include <string>
#include <vector>

namespace widgetkit {

// Draws a widget's view as the host shows it: laid out at the family's nominal size with the
// family in its environment, painted at the scale.
class WidgetRenderer {
public:
    WidgetRenderer() = delete;

    struct Drawing {
        ui::Bitmap bitmap;
        std::vector<RenderedLink> links;
        std::optional<std::string> widgetURL;
    };

    [[nodiscard]] static Drawing draw(const ui::View& view, WidgetFamily family, double scale = 1);
    // The same as the extension sends it: the bitmap as PNG bytes, with the entry's date.
    [[nodiscard]] static RenderedEntry render(const DatedView& entry, WidgetFamily family, double scale = 1);
};

}  // namespace widgetkit
