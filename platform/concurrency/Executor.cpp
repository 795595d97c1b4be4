#include "platform/concurrency/Executor.hpp"

#include "platform/concurrency/TaskState.hpp"

namespace concurrency {

void Executor::resume(std::coroutine_handle<> coroutine, TaskState* task) {
    enqueue([coroutine, task] {
        const TaskState::Scope scope(task);
        coroutine.resume();
    });
}

}  // namespace concurrency
