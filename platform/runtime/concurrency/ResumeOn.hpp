#pragma once

#include "platform/runtime/concurrency/Executor.hpp"
#include "platform/runtime/concurrency/PromiseBase.hpp"

#include <coroutine>
#include <type_traits>

namespace concurrency {

// `co_await ResumeOn(executor);` moves the rest of the awaiting coroutine onto `executor`; it does not
// suspend when the coroutine already runs there. The coroutine's callers go on where they were.
class ResumeOn {
public:
    explicit ResumeOn(Executor& executor) noexcept : executor_(executor) {}

    [[nodiscard]] bool await_ready() const noexcept { return false; }

    template <typename Promise>
    bool await_suspend(std::coroutine_handle<Promise> coroutine) {
        static_assert(std::is_base_of_v<PromiseBase, Promise>, "only a Task can change its executor");
        PromiseBase& promise = coroutine.promise();
        const bool alreadyThere = executor_.isCurrent();
        promise.moveTo(executor_);
        if (alreadyThere) {
            return false;
        }
        executor_.resume(coroutine, promise.task());
        return true;
    }

    void await_resume() const noexcept {}

private:
    Executor& executor_;
};

}  // namespace concurrency
