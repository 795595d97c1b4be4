#pragma once

#include "platform/runtime/concurrency/CheckedContinuation.hpp"
#include "platform/runtime/concurrency/PromiseBase.hpp"

#include <concepts>
#include <coroutine>
#include <exception>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace concurrency {

namespace detail {

template <typename T, typename Body>
class ContinuationAwaiter {
public:
    ContinuationAwaiter(std::string name, Body body)
        : state_(std::make_shared<ContinuationState<T>>(std::move(name))), body_(std::move(body)) {}

    [[nodiscard]] bool await_ready() const noexcept { return false; }

    template <typename Promise>
    void await_suspend(std::coroutine_handle<Promise> awaiter) {
        static_assert(std::is_base_of_v<PromiseBase, Promise>,
                      "a continuation can only be awaited inside a Task");
        PromiseBase& promise = awaiter.promise();
        state_->suspend(awaiter, promise.executor(), promise.task());
        // The body may hand the continuation to a thread that resumes it, and the awaiter then goes on
        // and frees this awaiter while the body still runs: from here on only locals are touched.
        Body body = std::move(body_);
        const CheckedContinuation<T> continuation(state_);
        // Resumed after the catch block, so that the awaiter holds the last reference to the error.
        std::exception_ptr failure;
        try {
            body(continuation);
        } catch (...) {
            failure = std::current_exception();
        }
        if (failure) {
            continuation.resumeThrowing(std::move(failure));
        }
    }

    T await_resume() { return state_->take(); }

private:
    std::shared_ptr<ContinuationState<T>> state_;
    Body body_;
};

}  // namespace detail

// Suspends the calling task and hands `body` a continuation, typically to keep in a callback that
// resumes it. The task goes on with the value or the error on the executor it was running on. `name`
// names the continuation in fault reports. An error thrown by the body resumes the continuation with it.
template <typename T, typename Body>
    requires std::invocable<Body&, const CheckedContinuation<T>&>
detail::ContinuationAwaiter<T, std::decay_t<Body>> withCheckedThrowingContinuation(std::string name,
                                                                                   Body&& body) {
    return {std::move(name), std::forward<Body>(body)};
}

}  // namespace concurrency
