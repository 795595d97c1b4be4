#include "platform/runtime/concurrency/Sleep.hpp"

#include "platform/runtime/concurrency/CancellationError.hpp"

#include <utility>

namespace concurrency {

// The coroutine goes on when two things have happened: the suspension has been set up, and the first
// of the timer and a cancellation has woken it. Whichever of the two comes last resumes it, so neither
// a timer that fires at once nor a cancellation during the set-up can resume a coroutine that is still
// being suspended.
struct Sleep::State {
    State(std::coroutine_handle<> sleeper, Executor& where, TaskState* owner) noexcept
        : coroutine(sleeper), executor(where), task(owner) {}

    void wake(bool byCancellation) {
        if (woken.exchange(true, std::memory_order_acq_rel)) {
            return;
        }
        cancelled = byCancellation;
        pass();
    }

    void pass() {
        if (gate.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            executor.resume(coroutine, task);
        }
    }

    const std::coroutine_handle<> coroutine;
    Executor& executor;
    TaskState* const task;

    std::atomic<bool> woken{false};
    std::atomic<int> gate{2};
    // Written before the writer's pass(), read after the coroutine has been resumed.
    bool cancelled = false;
    std::uint64_t handlerId = 0;
    DelayedJob timer;
};

bool Sleep::suspend(std::coroutine_handle<> coroutine, Executor& executor, TaskState* task) {
    if (task != nullptr && task->isCancelled()) {
        return false;
    }
    auto state = std::make_shared<State>(coroutine, executor, task);
    state_ = state;
    if (task != nullptr) {
        // Runs here and now when the task has been cancelled since the check above.
        state->handlerId = task->addCancellationHandler([state] { state->wake(true); });
    }
    state->timer = executor.enqueueAfter(duration_, [state] { state->wake(false); });
    // From here on the coroutine may already be running on another thread, and this awaiter gone.
    state->pass();
    return true;
}

void Sleep::await_resume() {
    const auto state = std::exchange(state_, nullptr);
    if (!state) {
        throw CancellationError();
    }
    if (state->handlerId != 0) {
        state->task->removeCancellationHandler(state->handlerId);
    }
    // Frees the timer's hold on the state when a cancellation came first.
    state->timer.cancel();
    if (state->cancelled) {
        throw CancellationError();
    }
}

}  // namespace concurrency
