#pragma once

#include <exception>

namespace concurrency {

// Thrown by Task<>::checkCancellation() in a cancelled task.
class CancellationError : public std::exception {
public:
    [[nodiscard]] const char* what() const noexcept override;
};

}  // namespace concurrency
