#include "platform/runtime/concurrency/TaskState.hpp"

#include <algorithm>

namespace concurrency {

namespace {
thread_local TaskState* currentTask = nullptr;
}  // namespace

void TaskState::cancel() {
    if (cancelled_.exchange(true, std::memory_order_acq_rel)) {
        return;
    }
    const std::lock_guard lock(handlersMutex_);
    for (auto& [id, handler] : handlers_) {
        handler();
    }
    handlers_.clear();
}

std::uint64_t TaskState::addCancellationHandler(std::function<void()> handler) {
    {
        const std::lock_guard lock(handlersMutex_);
        // Checked under the lock: a cancel that set the flag before this point either finds the handler
        // in the list or has already run the others, and this one runs here below; never both.
        if (!isCancelled()) {
            const auto id = nextHandlerId_++;
            handlers_.emplace_back(id, std::move(handler));
            return id;
        }
    }
    handler();
    return 0;
}

void TaskState::removeCancellationHandler(std::uint64_t id) {
    const std::lock_guard lock(handlersMutex_);
    std::erase_if(handlers_, [id](const auto& entry) { return entry.first == id; });
}

void TaskState::whenFinished(std::function<void()> callback) {
    {
        const std::lock_guard lock(finishMutex_);
        if (!isFinished()) {
            finishCallbacks_.push_back(std::move(callback));
            return;
        }
    }
    callback();
}

void TaskState::markFinished() {
    std::vector<std::function<void()>> callbacks;
    {
        const std::lock_guard lock(finishMutex_);
        finished_.store(true, std::memory_order_release);
        callbacks.swap(finishCallbacks_);
    }
    for (auto& callback : callbacks) {
        callback();
    }
}

TaskState* TaskState::current() noexcept {
    return currentTask;
}

TaskState::Scope::Scope(TaskState* task) noexcept : previous_(currentTask) {
    currentTask = task;
}

TaskState::Scope::~Scope() {
    currentTask = previous_;
}

}  // namespace concurrency
