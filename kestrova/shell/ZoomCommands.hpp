#pragma once

#include "platform/kits/ui/Binding.hpp"
#include "platform/kits/scenes/Commands.hpp"

namespace kestrova {

// "Actual Size", "Zoom In" and "Zoom Out" in the View menu, after the toolbar items, then a divider:
// they step the one page zoom of every window by a tenth, within the limits. The sums are plain
// double-precision sums from the stored value, clamped to the limit and otherwise left alone, so a
// zoom stored outside the limits stays until an item is chosen.
struct ZoomCommands {
    ui::Binding<double> pageZoom;
    double maxZoom;
    double minZoom;

    [[nodiscard]] ui::CommandGroup body() const;
};

}  // namespace kestrova
