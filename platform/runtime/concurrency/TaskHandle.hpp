#pragma once

#include "platform/runtime/concurrency/TaskRecord.hpp"

#include <functional>
#include <memory>
#include <utility>

namespace concurrency {

// A handle of a task started with spawn(). Copies refer to the same task; dropping every handle
// neither cancels the task nor stops it: the task owns itself until it ends. Thread-safe.
template <typename T>
class TaskHandle {
public:
    explicit TaskHandle(std::shared_ptr<TaskRecord<T>> record) noexcept : record_(std::move(record)) {}

    // Asks the task to stop; cancellation handlers run at once on the calling thread.
    void cancel() const { record_->cancel(); }
    [[nodiscard]] bool isCancelled() const noexcept { return record_->isCancelled(); }

    [[nodiscard]] bool isFinished() const noexcept { return record_->isFinished(); }
    // The callback runs on the thread that finishes the task, or at once when it has finished.
    void whenFinished(std::function<void()> callback) const { record_->whenFinished(std::move(callback)); }
    // The task's value or its error rethrown; only once it has finished.
    T result() const { return record_->result(); }

private:
    std::shared_ptr<TaskRecord<T>> record_;
};

}  // namespace concurrency
