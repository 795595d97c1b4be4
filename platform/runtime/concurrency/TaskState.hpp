#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace concurrency {

// What every coroutine of one task shares: the cancellation flag with its handlers, and whether the
// task has finished. Any thread may cancel; the handlers then run at once on that thread.
class TaskState {
public:
    TaskState() = default;
    TaskState(const TaskState&) = delete;
    TaskState& operator=(const TaskState&) = delete;
    virtual ~TaskState() = default;

    // Sets the flag; the first call runs every installed handler on the calling thread.
    void cancel();
    [[nodiscard]] bool isCancelled() const noexcept { return cancelled_.load(std::memory_order_acquire); }

    // Installs a handler for a later cancellation and returns its id. When the task is cancelled
    // already, the handler runs at once instead and the id is 0. Handlers run under the handlers' lock, so
    // that once removeCancellationHandler returns the handler is neither running nor going to run; a
    // handler therefore must not install or remove handlers of its own task.
    std::uint64_t addCancellationHandler(std::function<void()> handler);
    void removeCancellationHandler(std::uint64_t id);

    [[nodiscard]] bool isFinished() const noexcept { return finished_.load(std::memory_order_acquire); }
    // Runs the callback once the task has finished, on the finishing thread, or at once when it has.
    void whenFinished(std::function<void()> callback);

    // The task whose coroutine runs on this thread, if any.
    static TaskState* current() noexcept;

    // Makes a task the current one for the lifetime of the scope.
    class Scope {
    public:
        explicit Scope(TaskState* task) noexcept;
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        ~Scope();

    private:
        TaskState* previous_;
    };

protected:
    // Called once the task's result is stored.
    void markFinished();

private:
    std::atomic<bool> cancelled_{false};
    std::mutex handlersMutex_;
    std::uint64_t nextHandlerId_ = 1;
    std::vector<std::pair<std::uint64_t, std::function<void()>>> handlers_;

    std::atomic<bool> finished_{false};
    std::mutex finishMutex_;
    std::vector<std::function<void()>> finishCallbacks_;
};

}  // namespace concurrency
