#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/ui/View.hpp"
#include "platform/kits/ui/ViewHost.hpp"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace ui {

struct WindowOptions {
    std::string title;
    // The content's size in points; a window that cannot be resized keeps it.
    Size size;
    bool resizable = false;
};

// A window that shows a view tree. Closing it, by the user or by close(), takes its views off
// the screen; so does dropping the last handle of it.
class Window {
public:
    virtual ~Window() = default;
    [[nodiscard]] virtual ViewHost& host() = 0;
    [[nodiscard]] virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Brings the window to the front and gives it the keyboard focus.
    virtual void makeKeyAndOrderFront() {}
    // Called after each update of the window's views, for whoever reads what they offer.
    virtual void onUpdate(std::function<void()> /*listener*/) {}

protected:
    Window() = default;
};

// Shows view trees in windows of the desktop (or, headless, in windows nobody sees).
class WindowRealizer : public base::Installable<WindowRealizer> {
public:
    static constexpr std::string_view serviceName = "ui::WindowRealizer";

    virtual ~WindowRealizer() = default;
    // Opens a window at once; the content is evaluated now and whenever what it observes changes.
    [[nodiscard]] virtual std::shared_ptr<Window> open(const WindowOptions& options, std::function<View()> content) = 0;
};

}  // namespace ui
