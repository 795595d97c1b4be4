#pragma once

#include "platform/backends/desktop/GtkControlMetrics.hpp"
#include "platform/kits/scenes/WindowRealizer.hpp"

#include <memory>
#include <string>

using GtkWidget = struct _GtkWidget;

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
    // A window that is only its content, a widget for a window of the application to place; the
    // widget is the window's until it closes.
    [[nodiscard]] std::shared_ptr<ui::Window> openEmbedded(const ui::WindowOptions& options, std::function<ui::View()> content);
    // The toplevel of a window that open() made, or the content of an embedded one.
    [[nodiscard]] static GtkWidget* widgetOf(ui::Window& window);
    // The title of a window that either made: its content's navigation title, else the title it
    // opened with.
    [[nodiscard]] static std::string titleOf(const ui::Window& window);

private:
    std::unique_ptr<GtkControlMetrics> metrics_;
};

}  // namespace desktop
