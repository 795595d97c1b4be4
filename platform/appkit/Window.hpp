#pragma once

#include <string>

namespace appkit {

// One window of the application, as the installed backend shows it.
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

protected:
    Window() = default;
};

}  // namespace appkit
