#pragma once

#include "platform/kits/ui/ControlMetrics.hpp"

namespace desktop {

// The sizes of GTK's own controls in the current theme, so that a window lays out around the
// check boxes and buttons it really shows. Tabs go into the window's title bar and take no room.
class GtkControlMetrics final : public ui::ControlMetrics {
public:
    GtkControlMetrics();

    [[nodiscard]] ui::Size toggle(ui::Size title) const override;
    [[nodiscard]] ui::Size button(ui::Size label) const override;
    [[nodiscard]] double tabBarHeight() const override { return 0; }

private:
    ui::Size toggleChrome_;  // what a check box adds to its title
    ui::Size buttonChrome_;  // what a button adds to its label
    double toggleHeight_ = 0;
    double buttonHeight_ = 0;
};

}  // namespace desktop
