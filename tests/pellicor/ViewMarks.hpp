#pragma once

#include "platform/kits/ui/ColorScheme.hpp"
#include "platform/kits/ui/LaidOutView.hpp"

#include <optional>
#include <string>

namespace pellicor::testing {

// The value of the outermost mark of that key a host reads off the tree; none without one.
inline std::optional<std::string> mark(const ui::LaidOutView& tree, const std::string& key) {
    for (const auto* node : tree.all<ui::node::Annotation>()) {
        if (node->as<ui::node::Annotation>()->key == key) {
            return node->as<ui::node::Annotation>()->value;
        }
    }
    return std::nullopt;
}

// What a click on the widget outside its links opens.
inline std::optional<std::string> widgetURL(const ui::LaidOutView& tree) { return mark(tree, "widgetURL"); }

inline std::optional<ui::ColorScheme> preferredColorScheme(const ui::LaidOutView& tree) {
    const auto value = mark(tree, "preferredColorScheme");
    if (!value) {
        return std::nullopt;
    }
    return *value == "dark" ? ui::ColorScheme::dark : ui::ColorScheme::light;
}

}  // namespace pellicor::testing
