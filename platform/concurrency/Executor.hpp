#pragma once

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

    // Resumes the coroutine on this executor with `task` as the current task while it runs.
    void resume(std::coroutine_handle<> coroutine, TaskState* task);
};

}  // namespace concurrency
