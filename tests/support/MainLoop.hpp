#pragma once

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/TaskHandle.hpp"
#include "tests/support/MainLoopTimeout.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <utility>

namespace testsupport {

// Drives the main loop from a test, on the main thread.
class MainLoop {
public:
    static constexpr std::chrono::milliseconds defaultBound{10'000};

    // Iterates the default main context until `done` holds or `bound` has passed; whether it holds.
    static bool iterateUntil(const std::function<bool()>& done,
                             std::chrono::milliseconds bound = defaultBound);

    // Runs the main loop until the task has finished and returns its value or rethrows its error. When
    // it does not finish within `bound` the test fails, the task is cancelled and MainLoopTimeout is
    // thrown.
    template <typename T>
    static T runUntilFinished(const concurrency::TaskHandle<T>& task,
                              std::chrono::milliseconds bound = defaultBound) {
        // A task that ends on another thread wakes the loop up.
        task.whenFinished([] { concurrency::MainActor::shared().enqueue([] {}); });
        if (!iterateUntil([&task] { return task.isFinished(); }, bound)) {
            task.cancel();
            ADD_FAILURE() << MainLoopTimeout(bound).what();
            throw MainLoopTimeout(bound);
        }
        return task.result();
    }

    // Starts the coroutine that `operation` makes on the main actor and runs it to its end.
    template <typename Operation>
    static auto runOnMainActor(Operation operation, std::chrono::milliseconds bound = defaultBound) {
        return runUntilFinished(concurrency::spawn(concurrency::MainActor::shared(), std::move(operation)),
                                bound);
    }
};

}  // namespace testsupport
