#include "tests/support/MainLoopTimeout.hpp"

#include <string>

namespace testsupport {

MainLoopTimeout::MainLoopTimeout(std::chrono::milliseconds bound)
    : std::runtime_error("the task did not finish within " + std::to_string(bound.count()) + " ms") {
}

}  // namespace testsupport
