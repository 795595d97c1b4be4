#pragma once

#include "platform/kits/ui/EnvironmentValues.hpp"
#include "platform/kits/ui/Geometry.hpp"

#include <string>

namespace ui {

// The sizes of the controls a toolkit draws itself. The layout asks for them so that a window lays
// out around its toolkit's real controls; the standard metrics serve drawing and tests.
class ControlMetrics {
public:
    virtual ~ControlMetrics() = default;

    // A check box with its title, whose text measures `title`.
    [[nodiscard]] virtual Size toggle(Size title) const { return {18 + 6 + title.width, std::max(18.0, title.height)}; }
    // A push button around a label of that size.
    [[nodiscard]] virtual Size button(Size label) const { return {label.width + 20, std::max(22.0, label.height + 6)}; }
    // The row of tabs above a tab view's content.
    [[nodiscard]] virtual double tabBarHeight() const { return 30; }
    // A circular progress indicator.
    [[nodiscard]] virtual Size progressCircle() const { return {32, 32}; }

    static const ControlMetrics& standard() {
        static const ControlMetrics metrics;
        return metrics;
    }
};

}  // namespace ui
