#include "platform/runtime/concurrency/CancellationError.hpp"

namespace concurrency {

const char* CancellationError::what() const noexcept {
    return "the task was cancelled";
}

}  // namespace concurrency
