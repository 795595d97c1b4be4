#pragma once

#include "platform/runtime/concurrency/Executor.hpp"

#include <functional>
#include <mutex>

namespace concurrency {

// The one decision of a delayed job: it either runs or is cancelled, whichever comes first. Whoever
// schedules it tells it how to take it off its timer, so that a cancelled job leaves nothing behind
// that waits for its deadline.
class DelayedJobState {
public:
    explicit DelayedJobState(Executor::Job job) : job_(std::move(job)) {}

    // Given once by the scheduler; called at once when the job was cancelled in the meantime.
    void setUnschedule(std::function<void()> unschedule);

    // The job, for the executor to run; empty when it was cancelled. Only the first call gets it.
    Executor::Job takeForRun();

    // Whether this call stopped the job from running.
    bool cancel();

private:
    enum class Phase { pending, started, cancelled };

    std::mutex mutex_;
    Phase phase_ = Phase::pending;
    Executor::Job job_;
    std::function<void()> unschedule_;
};

}  // namespace concurrency
