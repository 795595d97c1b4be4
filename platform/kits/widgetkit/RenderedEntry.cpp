#include "platform/kits/widgetkit/RenderedEntry.hpp"

namespace widgetkit {

std::optional<std::string> RenderedEntry::destination(ui::Point point) const {
    for (const auto& link : links) {
        // Half-open, so that two links side by side never both hold their shared edge.
        if (point.x >= link.frame.minX() && point.x < link.frame.maxX() && point.y >= link.frame.minY() &&
            point.y < link.frame.maxY()) {
            return link.url;
        }
    }
    return widgetURL;
}

}  // namespace widgetkit
