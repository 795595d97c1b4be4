#include "platform/runtime/concurrency/ContinuationLeakError.hpp"

#include "platform/runtime/concurrency/ContinuationFault.hpp"

namespace concurrency {

ContinuationLeakError::ContinuationLeakError(const std::string& name)
    : std::runtime_error(ContinuationFault{ContinuationFault::Kind::leaked, name}.message()) {
}

}  // namespace concurrency
