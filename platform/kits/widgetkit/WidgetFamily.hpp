#pragma once

#include "platform/kits/ui/EnvironmentValues.hpp"
#include "platform/kits/ui/Geometry.hpp"

#include <optional>
#include <string_view>
#include <vector>

namespace widgetkit {

// The sizes and shapes a widget can be placed in.
enum class WidgetFamily {
    systemSmall,
    systemMedium,
    systemLarge,
    systemExtraLarge,
    accessoryCircular,
    accessoryRectangular,
    accessoryInline,
};

// Every family, in the order above.
[[nodiscard]] const std::vector<WidgetFamily>& allWidgetFamilies();

// The family's name as written on command lines and in stored placements: "systemSmall", ...
[[nodiscard]] std::string_view name(WidgetFamily family) noexcept;
[[nodiscard]] std::optional<WidgetFamily> widgetFamilyNamed(std::string_view name) noexcept;

// The size, in points, a widget of the family is drawn at.
[[nodiscard]] ui::Size nominalSize(WidgetFamily family) noexcept;

// The environment value `widgetFamily`: the family the view is rendered for; systemSmall where
// nobody set one.
[[nodiscard]] WidgetFamily widgetFamily(const ui::EnvironmentValues& environment);
void setWidgetFamily(ui::EnvironmentValues& environment, WidgetFamily family);

}  // namespace widgetkit
