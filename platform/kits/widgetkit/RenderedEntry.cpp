#include "platform/kits/widgetkit/RenderedEntry.hpp"

namespace widgetkit {

std::optional<std::string> RenderedEntry::destination(ui::Point point) const {
    for (const auto& link : links) {
        const auto& frame = link.frame;
        if (point.x >= frame.minX() && point.x < frame.maxX() && point.y >= frame.minY() && point.y < frame.maxY()) {
            return link.url;
        }
    }
    return widgetURL;
}

}  // namespace widgetkit
