#include "platform/runtime/concurrency/PromiseBase.hpp"

#include "platform/runtime/concurrency/Executor.hpp"

namespace concurrency {

void PromiseBase::attachTo(PromiseBase& parent, std::coroutine_handle<> continuation) noexcept {
    executor_ = parent.executor_;
    task_ = parent.task_;
    parent_ = &parent;
    continuation_ = continuation;
}

void PromiseBase::startIn(Executor& executor, TaskState& task) noexcept {
    executor_ = &executor;
    task_ = &task;
}

std::coroutine_handle<> PromiseBase::continuationAfterFinishing() noexcept {
    if (parent_ == nullptr || !handOver_.exchange(true, std::memory_order_acq_rel)) {
        return std::noop_coroutine();
    }
    if (parent_->executor_ == executor_) {
        return continuation_;
    }
    // Once enqueued the parent may run at once on another thread and destroy this frame: nothing here
    // is touched after the call.
    parent_->executor_->resume(continuation_, task_);
    return std::noop_coroutine();
}

}  // namespace concurrency
