#include "platform/runtime/concurrency/Executor.hpp"

#include "platform/runtime/concurrency/TaskState.hpp"
#include "platform/runtime/concurrency/internal/TimerThread.hpp"

namespace concurrency {

DelayedJob Executor::enqueueAfter(std::chrono::nanoseconds delay, Job job) {
    return TimerThread::enqueueAfter(delay, std::move(job), [this](Job due) { enqueue(std::move(due)); });
}

void Executor::resume(std::coroutine_handle<> coroutine, TaskState* task) {
    enqueue([coroutine, task] {
        const TaskState::Scope scope(task);
        coroutine.resume();
    });
}

}  // namespace concurrency
