#pragma once

#include "platform/desktop/GtkControlMetrics.hpp"
#include "platform/ui/WindowRealizer.hpp"

#include <memory>

namespace desktop {

// Shows view trees in GTK 3 windows: toggles, buttons, links, texts and images become GTK widgets
// at the places the layout gives them, tabs a stack with a switcher in the title bar, and shapes
// and colours are drawn by the view renderer in a drawing area behind them. Native views (a web
// page) show their own widget at their frame, with what stands in front of them in the tree drawn
// over it. The window's title follows the content's navigation title. Animations run on the
// window's frame clock.
class DesktopWindowRealizer final : public ui::WindowRealizer {
public:
    [[nodiscard]] std::shared_ptr<ui::Window> open(const ui::WindowOptions& options, std::function<ui::View()> content) override;

private:
    std::unique_ptr<GtkControlMetrics> metrics_;
};

}  // namespace desktop
