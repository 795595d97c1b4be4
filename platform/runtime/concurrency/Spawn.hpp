#pragma once

#include "platform/runtime/concurrency/Executor.hpp"
#include "platform/runtime/concurrency/PromiseBase.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/concurrency/TaskHandle.hpp"
#include "platform/runtime/concurrency/TaskRecord.hpp"

#include <concepts>
#include <coroutine>
#include <exception>
#include <memory>
#include <type_traits>
#include <utility>

namespace concurrency {

namespace detail {

// The frame at the bottom of an unstructured task: awaits the task's coroutine, stores the outcome in
// the record and frees itself.
class TaskDriver {
public:
    class promise_type : public PromiseBase {
    public:
        TaskDriver get_return_object() noexcept {
            return TaskDriver(std::coroutine_handle<promise_type>::from_promise(*this));
        }
        std::suspend_always initial_suspend() const noexcept { return {}; }
        std::suspend_never final_suspend() const noexcept { return {}; }
        void return_void() const noexcept {}
        // The driver's body catches everything itself.
        [[noreturn]] void unhandled_exception() const noexcept { std::terminate(); }
    };

    void start(Executor& executor, TaskState& task) && {
        coroutine_.promise().startIn(executor, task);
        executor.resume(coroutine_, &task);
    }

private:
    explicit TaskDriver(std::coroutine_handle<promise_type> coroutine) noexcept : coroutine_(coroutine) {}
    std::coroutine_handle<promise_type> coroutine_;
};

// Fails the record after the catch block, so that whoever the record wakes holds the last reference
// to the error (see WithCheckedThrowingContinuation.hpp).
template <typename T>
TaskDriver drive(std::shared_ptr<TaskRecord<T>> record, Task<T> task) {
    std::exception_ptr failure;
    try {
        if constexpr (std::is_void_v<T>) {
            co_await std::move(task);
            record->succeed({});
        } else {
            record->succeed(co_await std::move(task));
        }
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        record->fail(std::move(failure));
    }
}

// Keeps the callable, and so whatever a lambda captured, alive while the coroutine it made runs.
template <typename Operation, typename T>
Task<T> callKeepingAlive(Operation operation) {
    if constexpr (std::is_void_v<T>) {
        co_await operation();
    } else {
        co_return co_await operation();
    }
}

template <typename Operation>
using SpawnedResult = typename std::invoke_result_t<Operation&>::value_type;

}  // namespace detail

// Starts a task on `executor` without awaiting it: the task's first step runs later, from the
// executor's queue. The returned handle can cancel the task and observe its end.
template <typename T>
TaskHandle<T> spawn(Executor& executor, Task<T> task) {
    auto record = std::make_shared<TaskRecord<T>>();
    detail::drive(record, std::move(task)).start(executor, *record);
    return TaskHandle<T>(std::move(record));
}

// The same for a callable that makes the task, such as a coroutine lambda: the callable lives as long
// as the task, so its captures stay valid however long the task runs. Pass a lambda this way rather
// than calling it in place: a lambda called in place is gone at the end of the statement, while its
// coroutine has not even started.
template <typename Operation>
    requires std::invocable<Operation&>
TaskHandle<detail::SpawnedResult<Operation>> spawn(Executor& executor, Operation operation) {
    return spawn(executor,
                 detail::callKeepingAlive<Operation, detail::SpawnedResult<Operation>>(std::move(operation)));
}

}  // namespace concurrency
