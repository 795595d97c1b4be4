#pragma once

namespace appkit {

// What makes and manages a window of the application: the main windows have one, panels do not.
class WindowController {
public:
    virtual ~WindowController() = default;
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    // Opens another window of the same kind, which becomes the key window.
    virtual void newWindowForTab() = 0;

protected:
    WindowController() = default;
};

}  // namespace appkit
