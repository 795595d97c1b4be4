#pragma once

#include "platform/runtime/concurrency/TaskState.hpp"

#include <exception>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <variant>

namespace concurrency {

// The state of a task started with spawn(), with room for its outcome: written once by the task as it
// ends, read by whoever holds a handle once isFinished() says so.
template <typename T>
class TaskRecord : public TaskState {
public:
    using Value = std::conditional_t<std::is_void_v<T>, std::monostate, T>;

    void succeed(Value value) {
        outcome_.template emplace<1>(std::move(value));
        markFinished();
    }

    void fail(std::exception_ptr error) {
        outcome_.template emplace<2>(std::move(error));
        markFinished();
    }

    // The value, or the task's error rethrown.
    T result() const {
        if (!isFinished()) {
            throw std::logic_error("the result of a task that has not finished was asked for");
        }
        if (outcome_.index() == 2) {
            std::rethrow_exception(std::get<2>(outcome_));
        }
        if constexpr (!std::is_void_v<T>) {
            return std::get<1>(outcome_);
        }
    }

private:
    std::variant<std::monostate, Value, std::exception_ptr> outcome_;
};

}  // namespace concurrency
