#pragma once

#include "platform/runtime/concurrency/ContinuationFault.hpp"
#include "platform/runtime/concurrency/ContinuationLeakError.hpp"
#include "platform/runtime/concurrency/Executor.hpp"
#include "platform/runtime/concurrency/TaskState.hpp"

#include <atomic>
#include <coroutine>
#include <exception>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace concurrency {

namespace detail {

// The rendezvous between one suspended awaiter and whoever resumes it. The first resume wins; the
// awaiter is then resumed on the executor it was suspended on, never on the resuming thread.
template <typename T>
class ContinuationState {
public:
    using Value = std::conditional_t<std::is_void_v<T>, std::monostate, T>;

    explicit ContinuationState(std::string name) : name_(std::move(name)) {}

    void suspend(std::coroutine_handle<> awaiter, Executor& executor, TaskState* task) noexcept {
        awaiter_ = awaiter;
        executor_ = &executor;
        task_ = task;
    }

    void resume(Value value) {
        if (claim()) {
            outcome_.template emplace<1>(std::move(value));
            wake();
        }
    }

    void resume(std::exception_ptr error) {
        if (claim()) {
            outcome_.template emplace<2>(std::move(error));
            wake();
        }
    }

    // Called when the last copy of the continuation goes away.
    void release() {
        if (!resumed_.exchange(true, std::memory_order_acq_rel)) {
            ContinuationFault::report({ContinuationFault::Kind::leaked, name_});
            outcome_.template emplace<2>(std::make_exception_ptr(ContinuationLeakError(name_)));
            wake();
        }
    }

    // Moves the outcome out, so that the awaiter, not whichever thread drops the last copy of the
    // continuation, owns the error from here on.
    T take() {
        if (outcome_.index() == 2) {
            std::rethrow_exception(std::exchange(std::get<2>(outcome_), nullptr));
        }
        if constexpr (!std::is_void_v<T>) {
            return std::move(std::get<1>(outcome_));
        }
    }

private:
    bool claim() {
        if (resumed_.exchange(true, std::memory_order_acq_rel)) {
            ContinuationFault::report({ContinuationFault::Kind::resumedTwice, name_});
            return false;
        }
        return true;
    }

    // The executor's queue orders the outcome written here before the awaiter reads it.
    void wake() { executor_->resume(awaiter_, task_); }

    const std::string name_;
    std::atomic<bool> resumed_{false};
    std::variant<std::monostate, Value, std::exception_ptr> outcome_;
    std::coroutine_handle<> awaiter_;
    Executor* executor_ = nullptr;
    TaskState* task_ = nullptr;
};

// Reports a leak when the last copy of a continuation goes away without a resume.
template <typename T>
class ContinuationLifetime {
public:
    explicit ContinuationLifetime(std::shared_ptr<ContinuationState<T>> state) noexcept
        : state_(std::move(state)) {}
    ContinuationLifetime(const ContinuationLifetime&) = delete;
    ContinuationLifetime& operator=(const ContinuationLifetime&) = delete;
    ~ContinuationLifetime() { state_->release(); }

    ContinuationState<T>& state() const noexcept { return *state_; }

private:
    std::shared_ptr<ContinuationState<T>> state_;
};

}  // namespace detail

// The resuming side of withCheckedThrowingContinuation: resume it exactly once, from any thread, with
// a value or an error. Copies are the same continuation. A second resume is reported as a fault and
// otherwise ignored; dropping every copy without a resume is reported and fails the awaiter with a
// ContinuationLeakError.
template <typename T>
class CheckedContinuation {
public:
    explicit CheckedContinuation(std::shared_ptr<detail::ContinuationState<T>> state)
        : lifetime_(std::make_shared<detail::ContinuationLifetime<T>>(std::move(state))) {}

    template <typename Value = T>
        requires(!std::is_void_v<Value>)
    void resume(std::type_identity_t<Value> value) const {
        lifetime_->state().resume(std::move(value));
    }

    void resume() const requires std::is_void_v<T> { lifetime_->state().resume(std::monostate{}); }

    void resumeThrowing(std::exception_ptr error) const { lifetime_->state().resume(std::move(error)); }

    // The error is moved in, and made into the exception in a statement of its own, so that the
    // resuming thread keeps no share of its message once the awaiter may run: copies of a
    // std::runtime_error share one message, and make_exception_ptr's parameter, such a copy, would
    // otherwise live to the end of the hand-off's full-expression. The awaiter then drops the last
    // share and frees the message itself; the count that orders the shares is kept inside libstdc++,
    // where the thread sanitizer cannot see it.
    template <typename Error>
        requires std::is_base_of_v<std::exception, std::remove_cvref_t<Error>> &&
                 (!std::is_lvalue_reference_v<Error>)
    void resumeThrowing(Error&& error) const {
        std::exception_ptr failure = std::make_exception_ptr(std::move(error));
        resumeThrowing(std::move(failure));
    }

private:
    std::shared_ptr<detail::ContinuationLifetime<T>> lifetime_;
};

}  // namespace concurrency
