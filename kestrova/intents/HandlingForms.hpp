#pragma once

#include "platform/runtime/concurrency/CheckedContinuation.hpp"
#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/concurrency/WithCheckedThrowingContinuation.hpp"

#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace kestrova::handling {

// The two forms of a protocol operation, each written in terms of the other,
// so a handler implements whichever suits it. The platform always calls the
// callback form.

// Callback form over the asynchronous one: a new task awaits the operation,
// then calls the completion once with its answer.
template <typename T, typename Operation>
void startTask(Operation operation, std::function<void(T)> completion) {
    concurrency::spawn(concurrency::GlobalExecutor::shared(),
                       [operation = std::move(operation), completion = std::move(completion)]() -> concurrency::Task<void> {
                           completion(co_await operation());
                       });
}

// The same for an operation that may throw: the completion gets the answer
// or the error.
template <typename T, typename Operation>
void startThrowingTask(Operation operation, std::function<void(T, std::exception_ptr)> completion) {
    concurrency::spawn(concurrency::GlobalExecutor::shared(),
                       [operation = std::move(operation), completion = std::move(completion)]() -> concurrency::Task<void> {
                           std::exception_ptr error;
                           T answer{};
                           try {
                               answer = co_await operation();
                           } catch (...) {
                               error = std::current_exception();
                           }
                           completion(std::move(answer), error);
                       });
}

// Asynchronous form over the callback one: suspends until the completion runs.
template <typename T, typename Start>
concurrency::Task<T> awaitCompletion(std::string name, Start start) {
    const auto body = [&start](const concurrency::CheckedContinuation<T>& continuation) {
        start([continuation](T answer) { continuation.resume(std::move(answer)); });
    };
    co_return co_await concurrency::withCheckedThrowingContinuation<T>(std::move(name), body);
}

// The same for a completion that hands over an answer or an error.
template <typename T, typename Start>
concurrency::Task<T> awaitThrowingCompletion(std::string name, Start start) {
    const auto body = [&start](const concurrency::CheckedContinuation<T>& continuation) {
        start([continuation](T answer, std::exception_ptr error) {
            if (error) {
                continuation.resumeThrowing(error);
            } else {
                continuation.resume(std::move(answer));
            }
        });
    };
    co_return co_await concurrency::withCheckedThrowingContinuation<T>(std::move(name), body);
}

// An error's text as it crosses to the host.
inline std::string describe(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& exception) {
        return exception.what();
    } catch (...) {
        return "an unknown error";
    }
}

}  // namespace kestrova::handling
