#pragma once

#include "platform/runtime/concurrency/DelayedJob.hpp"

#include <chrono>
#include <coroutine>
#include <functional>

namespace concurrency {

class TaskState;

// Somewhere that runs jobs one after another on threads of its own: the main actor, the global thread
// pool. Coroutines remember the executor they run on, so that whatever wakes them up, on whichever
// thread, they go on where they were.
class Executor {
public:
    using Job = std::function<void()>;

    virtual ~Executor() = default;

    // Thread-safe; the job runs later, never inside this call.
    virtual void enqueue(Job job) = 0;
    // Whether the calling thread is one of this executor's.
    [[nodiscard]] virtual bool isCurrent() const noexcept = 0;

    // Thread-safe; enqueues the job once `delay` has passed, never before (at once for none or a
    // negative one), unless the returned handle cancels it first. The executor must outlive the delay
    // or the job be cancelled before it goes. By default one timer thread serves every executor.
    virtual DelayedJob enqueueAfter(std::chrono::nanoseconds delay, Job job);

    // Resumes the coroutine on this executor with `task` as the current task while it runs.
    void resume(std::coroutine_handle<> coroutine, TaskState* task);
};

}  // namespace concurrency
