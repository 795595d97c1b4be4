#pragma once

#include "platform/kits/ui/Alignment.hpp"
#include "platform/kits/ui/Color.hpp"
#include "platform/kits/ui/ColorScheme.hpp"
#include "platform/kits/ui/Font.hpp"

#include <any>
#include <map>
#include <optional>
#include <string>

namespace ui {

// What a view inherits from the views around it. The values a framework of its own adds (the widget
// family, for one) go into `extra` under a key of their own.
struct EnvironmentValues {
    ColorScheme colorScheme = ColorScheme::light;
    bool isEnabled = true;
    Font font = Font::body();
    std::optional<Color> foregroundColor;
    std::optional<int> lineLimit;
    // What tint() set: the colour of controls such as a progress view.
    std::optional<Color> tint;
    TextAlignment multilineTextAlignment = TextAlignment::leading;
    std::map<std::string, std::any> extra;

    // The colour text and symbols draw in: the one set, or the scheme's primary colour.
    [[nodiscard]] Color foreground() const { return foregroundColor.value_or(Color::primary()); }
};

}  // namespace ui
