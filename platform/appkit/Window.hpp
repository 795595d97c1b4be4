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

protected:
    Window() = default;
};

}  // namespace appkit
