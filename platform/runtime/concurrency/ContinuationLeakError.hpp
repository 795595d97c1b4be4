#pragma once

#include <stdexcept>
#include <string>

namespace concurrency {

// What the awaiter of a checked continuation gets when every copy of the continuation was dropped
// without a resume, so that it does not wait for ever.
class ContinuationLeakError : public std::runtime_error {
public:
    explicit ContinuationLeakError(const std::string& name);
};

}  // namespace concurrency
