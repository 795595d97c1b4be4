#pragma once

#include <functional>
#include <set>

namespace desktop {

// Steps run on a later turn of the main loop, each unless its owner is gone by then: the steps still
// waiting when this goes never run.
class LaterSteps {
public:
    LaterSteps() = default;
    ~LaterSteps();
    LaterSteps(const LaterSteps&) = delete;
    LaterSteps& operator=(const LaterSteps&) = delete;

    void later(std::function<void()> step);

private:
    struct Pending;

    std::set<unsigned int> pending_;  // the main loop's sources of the waiting steps
};

}  // namespace desktop
