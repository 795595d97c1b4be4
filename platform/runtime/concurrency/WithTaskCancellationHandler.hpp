#pragma once

#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/concurrency/TaskState.hpp"

#include <concepts>
#include <cstdint>
#include <functional>
#include <type_traits>
#include <utility>

namespace concurrency {

namespace detail {

// Keeps a cancellation handler installed on the current task for as long as it lives.
class CancellationHandlerScope {
public:
    explicit CancellationHandlerScope(std::function<void()> onCancel)
        : task_(TaskState::current()),
          id_(task_ != nullptr ? task_->addCancellationHandler(std::move(onCancel)) : 0) {}
    CancellationHandlerScope(const CancellationHandlerScope&) = delete;
    CancellationHandlerScope& operator=(const CancellationHandlerScope&) = delete;
    ~CancellationHandlerScope() {
        if (id_ != 0) {
            task_->removeCancellationHandler(id_);
        }
    }

private:
    TaskState* task_;
    std::uint64_t id_;
};

}  // namespace detail

// Runs the task that `operation` makes with `onCancel` installed: when the current task is cancelled
// while the operation runs, onCancel runs at once on the cancelling thread, possibly at the same time
// as the operation; when the task is cancelled already, onCancel runs here, before the operation. Once
// the operation has ended onCancel is neither running nor called any more.
template <typename Operation>
    requires std::invocable<Operation&>
std::invoke_result_t<Operation&> withTaskCancellationHandler(Operation operation,
                                                             std::function<void()> onCancel) {
    const detail::CancellationHandlerScope scope(std::move(onCancel));
    co_return co_await operation();
}

}  // namespace concurrency
