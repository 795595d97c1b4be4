#include "tests/support/MappedWindows.hpp"

#include <X11/Xlib.h>
#include <poll.h>

#include <stdexcept>

namespace testsupport {

struct MappedWindows::Connection {
    Display* display = nullptr;
};

MappedWindows::MappedWindows() : connection_(std::make_unique<Connection>()) {
    connection_->display = XOpenDisplay(nullptr);
    if (connection_->display == nullptr) {
        throw std::runtime_error("cannot open the X display");
    }
    // The root's children are the top-level windows: their maps are reported to the root.
    XSelectInput(connection_->display, DefaultRootWindow(connection_->display), SubstructureNotifyMask);
    XSync(connection_->display, False);
}

MappedWindows::~MappedWindows() {
    XCloseDisplay(connection_->display);
}

bool MappedWindows::anyMapped() {
    Display* display = connection_->display;
    // A round trip: every event the server sent before it answers is queued after it.
    XSync(display, False);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        mapped_ = mapped_ || event.type == MapNotify;
    }
    return mapped_;
}

bool MappedWindows::waitForOne(std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!anyMapped()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd events{ConnectionNumber(connection_->display), POLLIN, 0};
        poll(&events, 1, static_cast<int>(left.count()));
    }
    return true;
}

}  // namespace testsupport
