#include "platform/runtime/concurrency/internal/DelayedJobState.hpp"

#include <utility>

namespace concurrency {

// The job and the unscheduling hook may hold anything, including what leads back to this state: both
// are destroyed and called outside the lock.

void DelayedJobState::setUnschedule(std::function<void()> unschedule) {
    {
        const std::lock_guard lock(mutex_);
        if (phase_ == Phase::pending) {
            unschedule_ = std::move(unschedule);
            return;
        }
        if (phase_ == Phase::started) {
            return;
        }
    }
    unschedule();
}

Executor::Job DelayedJobState::takeForRun() {
    Executor::Job job;
    std::function<void()> unschedule;
    {
        const std::lock_guard lock(mutex_);
        if (phase_ != Phase::pending) {
            return {};
        }
        phase_ = Phase::started;
        job = std::move(job_);
        unschedule = std::move(unschedule_);
    }
    return job;
}

bool DelayedJobState::cancel() {
    Executor::Job job;
    std::function<void()> unschedule;
    {
        const std::lock_guard lock(mutex_);
        if (phase_ != Phase::pending) {
            return false;
        }
        phase_ = Phase::cancelled;
        job = std::move(job_);
        unschedule = std::move(unschedule_);
    }
    if (unschedule) {
        unschedule();
    }
    return true;
}

}  // namespace concurrency
