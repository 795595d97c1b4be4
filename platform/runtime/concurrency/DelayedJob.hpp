#pragma once

#include <memory>

namespace concurrency {

class DelayedJobState;

// A job that an executor runs once its delay has passed, unless it is cancelled first. Copies refer to
// the same job; dropping every copy does not cancel it. Thread-safe.
class DelayedJob {
public:
    // Refers to no job: cancel() does nothing.
    DelayedJob() = default;
    explicit DelayedJob(std::shared_ptr<DelayedJobState> state) noexcept;

    // Makes sure the job never runs, and frees it at once, when it has not started yet; answers whether
    // it did. A job that has started runs to its end.
    bool cancel() const;

private:
    std::shared_ptr<DelayedJobState> state_;
};

}  // namespace concurrency
