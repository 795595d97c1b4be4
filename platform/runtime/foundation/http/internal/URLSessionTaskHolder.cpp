#include "platform/runtime/foundation/http/internal/URLSessionTaskHolder.hpp"

#include "platform/runtime/foundation/http/URLSessionTask.hpp"

namespace foundation {

// The task is resumed and cancelled outside the lock: a task whose session is
// gone completes inside those calls.

void URLSessionTaskHolder::start(const std::shared_ptr<URLSessionTask>& task) {
    bool cancelled = false;
    {
        const std::lock_guard lock(mutex_);
        task_ = task;
        cancelled = cancelled_;
    }
    if (cancelled) {
        task->cancel();
    } else {
        task->resume();
    }
}

void URLSessionTaskHolder::cancel() {
    std::shared_ptr<URLSessionTask> task;
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
        task = task_;
    }
    if (task) {
        task->cancel();
    }
}

}  // namespace foundation
