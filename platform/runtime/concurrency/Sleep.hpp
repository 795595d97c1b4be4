#pragma once

#include "platform/runtime/concurrency/DelayedJob.hpp"
#include "platform/runtime/concurrency/Executor.hpp"
#include "platform/runtime/concurrency/PromiseBase.hpp"
#include "platform/runtime/concurrency/TaskState.hpp"

#include <atomic>
#include <chrono>
#include <coroutine>
#include <cstdint>
#include <memory>
#include <type_traits>

namespace concurrency {

// What `co_await sleepFor(duration)` awaits: the task goes on on its executor once the duration has
// passed, or throws CancellationError at once when it is cancelled, before or while it sleeps.
class Sleep {
public:
    explicit Sleep(std::chrono::nanoseconds duration) noexcept : duration_(duration) {}

    [[nodiscard]] bool await_ready() const noexcept { return false; }

    template <typename Promise>
    bool await_suspend(std::coroutine_handle<Promise> coroutine) {
        static_assert(std::is_base_of_v<PromiseBase, Promise>, "only a Task can sleep");
        const PromiseBase& promise = coroutine.promise();
        return suspend(coroutine, promise.executor(), promise.task());
    }

    // Throws CancellationError when the task was cancelled.
    void await_resume();

    // Shared by the timer, the cancellation handler and the sleeping coroutine.
    struct State;

private:
    bool suspend(std::coroutine_handle<> coroutine, Executor& executor, TaskState* task);

    std::chrono::nanoseconds duration_;
    std::shared_ptr<State> state_;
};

// `co_await sleepFor(250ms);`
[[nodiscard]] inline Sleep sleepFor(std::chrono::nanoseconds duration) noexcept {
    return Sleep(duration);
}

}  // namespace concurrency
