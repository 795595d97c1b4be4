#pragma once

#include "platform/kits/widgetkit/RenderedEntry.hpp"
#include "platform/kits/widgetkit/WidgetExtensionHost.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace widgetkit::protocol {

// The messages between the widget host and a widget extension, one a line, each marked as an
// intents::ExtensionMessage is: the record separator, compact JSON, a line feed.
enum class Operation { widgets, placeholder, snapshot, timeline };

struct Request {
    std::int64_t id = 0;
    Operation operation = Operation::widgets;
    // All but for widgets.
    WidgetRequest widget;

    [[nodiscard]] std::string line() const;
    // Reads a line's JSON (without the marker); throws std::exception saying what is wrong.
    static Request parse(std::string_view json);
};

struct Answer {
    std::int64_t id = 0;
    std::optional<std::string> error;
    std::optional<std::vector<WidgetDescription>> widgets;
    std::optional<RenderedEntry> entry;
    std::optional<RenderedTimeline> timeline;

    [[nodiscard]] std::string line() const;
    static Answer parse(std::string_view json);
};

}  // namespace widgetkit::protocol
