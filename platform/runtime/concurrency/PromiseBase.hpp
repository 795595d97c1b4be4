#pragma once

#include <atomic>
#include <coroutine>

namespace concurrency {

class Executor;
class TaskState;

// What every coroutine frame of a task knows about where it runs: the executor it goes on on after a
// suspension, the task it belongs to, and who awaits it. Awaitables of this library read and change it
// through the handle they are given.
class PromiseBase {
public:
    [[nodiscard]] Executor& executor() const noexcept { return *executor_; }
    [[nodiscard]] TaskState* task() const noexcept { return task_; }

    // From here on the frame goes on on `executor` after each suspension.
    void moveTo(Executor& executor) noexcept { executor_ = &executor; }

    // Makes this frame a child of `parent`: it starts where the parent runs, in the parent's task.
    void attachTo(PromiseBase& parent, std::coroutine_handle<> continuation) noexcept;
    // Makes this frame the first of a task that starts on `executor`.
    void startIn(Executor& executor, TaskState& task) noexcept;

    // The parent starts its child inline and then asks whether it has to suspend. A child that has
    // finished by then lets the parent go on in its own stack frame, so that a loop over children that
    // finish at once does not grow the stack (symmetric transfer is no tail call in unoptimised builds).
    [[nodiscard]] bool parentMustSuspend() noexcept {
        return !handOver_.exchange(true, std::memory_order_acq_rel);
    }

    // Where control goes when this frame has finished: nowhere when the parent has not suspended yet
    // (it goes on by itself); straight into the parent when it runs on the same executor; otherwise the
    // parent is resumed on its own executor and this thread is free.
    [[nodiscard]] std::coroutine_handle<> continuationAfterFinishing() noexcept;

private:
    Executor* executor_ = nullptr;
    TaskState* task_ = nullptr;
    PromiseBase* parent_ = nullptr;
    std::coroutine_handle<> continuation_;
    // Set by whichever comes second, the parent suspending or this frame finishing, decides who resumes.
    std::atomic<bool> handOver_{false};
};

}  // namespace concurrency
