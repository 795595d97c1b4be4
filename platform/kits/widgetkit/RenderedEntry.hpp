#pragma once

#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/widgetkit/Timeline.hpp"
#include "platform/kits/widgetkit/WidgetFamily.hpp"
#include "platform/runtime/foundation/core/Date.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace widgetkit {

// A Link of a drawn entry: where it lies, in points from the widget's top-left corner, and what it
// opens.
struct RenderedLink {
    ui::Rect frame;
    std::string url;
    friend bool operator==(const RenderedLink&, const RenderedLink&) = default;
};

// One entry as the extension drew it for the host.
struct RenderedEntry {
    foundation::Date date;
    // The PNG of the widget at its family's size times the scale.
    std::vector<std::uint8_t> png;
    ui::Size size;  // points
    double scale = 1;
    std::vector<RenderedLink> links;
    // What a click outside every link opens; none when the view set nothing.
    std::optional<std::string> widgetURL;

    // What a click at that point (in points) opens: the first link whose frame holds it, else the
    // widget URL.
    [[nodiscard]] std::optional<std::string> destination(ui::Point point) const;
};

struct RenderedTimeline {
    std::vector<RenderedEntry> entries;
    TimelineReloadPolicy policy = TimelineReloadPolicy::atEnd();
};

// A widget of the extension as the gallery describes it.
struct WidgetDescription {
    std::string kind;
    std::string displayName;
    std::string description;
    std::vector<WidgetFamily> supportedFamilies;
    // The class name of its configuration intent; empty when it has none.
    std::string configurationIntent;
};

}  // namespace widgetkit
