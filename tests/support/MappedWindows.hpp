#pragma once

#include <chrono>
#include <memory>

namespace testsupport {

// Watches the X display ($DISPLAY) for top-level windows being mapped, by any client, from when it
// is made: what a test of a windowless program checks after the program has ended.
class MappedWindows {
public:
    MappedWindows();
    ~MappedWindows();
    MappedWindows(const MappedWindows&) = delete;
    MappedWindows& operator=(const MappedWindows&) = delete;

    // Whether a window has been mapped so far, by every event the server has sent until now.
    [[nodiscard]] bool anyMapped();
    // Waits until a window is mapped, at most `bound`; whether one was.
    [[nodiscard]] bool waitForOne(std::chrono::milliseconds bound);

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
    bool mapped_ = false;
};

}  // namespace testsupport
