#pragma once

#include "platform/runtime/concurrency/MainActor.hpp"

#include <cstdint>
#include <memory>
#include <string>

namespace appkit {

class WindowController;

enum class WindowOrderingMode : std::uint8_t { below, above };

// One window of the application, as the installed backend shows it. Made and used on the main
// thread.
class Window {
public:
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    [[nodiscard]] virtual std::string title() const = 0;
    // Takes the window off the screen and out of the application's windows.
    virtual void close() = 0;
    // Whether the window can take keyboard focus (panels and sheets cannot).
    [[nodiscard]] virtual bool canBecomeKey() const = 0;
    // Brings the window to the front and gives it the keyboard focus.
    virtual void makeKeyAndOrderFront() = 0;

    // Iconified by the user or the window manager.
    [[nodiscard]] virtual bool isMiniaturized() const { return false; }
    // Brings an iconified window back; does nothing to another one.
    virtual void deminiaturize() {}

    // The controller that made the window; none for panels and for windows made by hand.
    [[nodiscard]] virtual WindowController* windowController() const { return nullptr; }
    // Shows `window` as a tab of this window, next to the current tab (above) or before it (below).
    virtual void addTabbedWindow(std::shared_ptr<Window> /*window*/, WindowOrderingMode /*ordered*/) {}

protected:
    Window() { concurrency::MainActor::preconditionIsolated(); }
};

}  // namespace appkit
