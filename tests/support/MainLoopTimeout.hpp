#pragma once

#include <chrono>
#include <stdexcept>

namespace testsupport {

// Thrown by the main-loop helpers when a task has not finished within its bound, so that the test
// fails and goes on instead of hanging.
class MainLoopTimeout : public std::runtime_error {
public:
    explicit MainLoopTimeout(std::chrono::milliseconds bound);
};

}  // namespace testsupport
