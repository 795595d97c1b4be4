#pragma once

#include "platform/runtime/concurrency/CancellationError.hpp"
#include "platform/runtime/concurrency/PromiseBase.hpp"
#include "platform/runtime/concurrency/TaskState.hpp"

#include <coroutine>
#include <exception>
#include <type_traits>
#include <utility>
#include <variant>

namespace concurrency {

template <typename T>
class Task;

namespace detail {

// Where a finished Task keeps its value or its error until the awaiter takes it.
template <typename T>
class TaskOutcome {
public:
    template <typename Value>
    void return_value(Value&& value) {
        outcome_.template emplace<1>(std::forward<Value>(value));
    }
    void unhandled_exception() noexcept { outcome_.template emplace<2>(std::current_exception()); }

    T take() {
        if (outcome_.index() == 2) {
            std::rethrow_exception(std::get<2>(outcome_));
        }
        return std::move(std::get<1>(outcome_));
    }

private:
    std::variant<std::monostate, T, std::exception_ptr> outcome_;
};

template <>
class TaskOutcome<void> {
public:
    void return_void() noexcept {}
    void unhandled_exception() noexcept { error_ = std::current_exception(); }

    void take() const {
        if (error_) {
            std::rethrow_exception(error_);
        }
    }

private:
    std::exception_ptr error_;
};

}  // namespace detail

// Static members that speak of the task the calling coroutine runs in, whatever its result type:
// Task<>::isCancelled(), Task<>::checkCancellation().
class CurrentTask {
public:
    [[nodiscard]] static bool isCancelled() noexcept {
        const TaskState* task = TaskState::current();
        return task != nullptr && task->isCancelled();
    }

    static void checkCancellation() {
        if (isCancelled()) {
            throw CancellationError();
        }
    }
};

// A coroutine that produces a T or throws. It starts when it is awaited, on the awaiter's thread and
// in the awaiter's task (so it shares its cancellation), and hands control straight back when it ends;
// it only changes thread when it awaits something that does, and its awaiter then goes on on the
// executor the awaiter was running on. Run one without awaiting it with spawn().
//
// GCC 12 destroys a lambda made inside a co_await expression twice when the lambda captures by value
// something with a destructor (a shared_ptr, a string, a std::function): make such a lambda a named
// local first and pass that. Lambdas that capture only references or plain values are safe inline.
template <typename T = void>
class [[nodiscard]] Task : public CurrentTask {
public:
    using value_type = T;

    class promise_type : public PromiseBase, public detail::TaskOutcome<T> {
    public:
        Task get_return_object() noexcept {
            return Task(std::coroutine_handle<promise_type>::from_promise(*this));
        }
        std::suspend_always initial_suspend() const noexcept { return {}; }

        struct FinalAwaiter {
            [[nodiscard]] bool await_ready() const noexcept { return false; }
            std::coroutine_handle<> await_suspend(std::coroutine_handle<promise_type> self) const noexcept {
                return self.promise().continuationAfterFinishing();
            }
            void await_resume() const noexcept {}
        };
        FinalAwaiter final_suspend() const noexcept { return {}; }
    };

    Task(Task&& other) noexcept : coroutine_(std::exchange(other.coroutine_, {})) {}
    Task& operator=(Task&& other) noexcept {
        if (this != &other) {
            destroy();
            coroutine_ = std::exchange(other.coroutine_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { destroy(); }

    class Awaiter {
    public:
        explicit Awaiter(std::coroutine_handle<promise_type> child) noexcept : child_(child) {}

        [[nodiscard]] bool await_ready() const noexcept { return false; }

        template <typename Promise>
        bool await_suspend(std::coroutine_handle<Promise> parent) noexcept {
            static_assert(std::is_base_of_v<PromiseBase, Promise>,
                          "a Task can only be awaited inside a Task");
            child_.promise().attachTo(parent.promise(), parent);
            child_.resume();
            return child_.promise().parentMustSuspend();
        }

        T await_resume() { return child_.promise().take(); }

    private:
        std::coroutine_handle<promise_type> child_;
    };

    Awaiter operator co_await() && noexcept { return Awaiter(coroutine_); }

private:
    explicit Task(std::coroutine_handle<promise_type> coroutine) noexcept : coroutine_(coroutine) {}

    void destroy() noexcept {
        if (coroutine_) {
            coroutine_.destroy();
        }
    }

    std::coroutine_handle<promise_type> coroutine_;
};

}  // namespace concurrency
