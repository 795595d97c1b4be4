#include "platform/runtime/concurrency/internal/TimerThread.hpp"

#include "platform/runtime/concurrency/internal/DelayedJobState.hpp"

#include <algorithm>
#include <memory>
#include <utility>

namespace concurrency {

TimerThread& TimerThread::shared() {
    // Never destroyed, like the executors it serves.
    static TimerThread* const instance = new TimerThread;
    return *instance;
}

TimerThread::TimerThread() : thread_([this] { run(); }) {}

DelayedJob TimerThread::enqueueAfter(std::chrono::nanoseconds delay, Executor::Job job,
                                     std::function<void(Executor::Job)> post) {
    auto state = std::make_shared<DelayedJobState>(std::move(job));
    auto& timers = shared();
    const auto deadline = Clock::now() + std::max(delay, std::chrono::nanoseconds::zero());
    const Key key = timers.schedule(deadline, [state, post = std::move(post)] {
        post([state] {
            if (auto due = state->takeForRun()) {
                due();
            }
        });
    });
    state->setUnschedule([key] { shared().unschedule(key); });
    return DelayedJob(std::move(state));
}

TimerThread::Key TimerThread::schedule(Clock::time_point deadline, std::function<void()> fire) {
    bool earliest = false;
    Key key{deadline, 0};
    {
        const std::lock_guard lock(mutex_);
        key.sequence = nextSequence_++;
        const auto placed = timers_.emplace(key, std::move(fire)).first;
        earliest = placed == timers_.begin();
    }
    if (earliest) {
        changed_.notify_one();
    }
    return key;
}

void TimerThread::unschedule(Key key) {
    std::function<void()> fire;
    {
        const std::lock_guard lock(mutex_);
        if (auto found = timers_.find(key); found != timers_.end()) {
            fire = std::move(found->second);
            timers_.erase(found);
        }
    }
    // A later earliest deadline only makes the thread wake once for nothing: no need to tell it.
}

void TimerThread::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (timers_.empty()) {
            changed_.wait(lock);
            continue;
        }
        const auto first = timers_.begin();
        // A copy: the timer may be cancelled, and its node freed, while this thread waits.
        const auto deadline = first->first.deadline;
        if (Clock::now() < deadline) {
            changed_.wait_until(lock, deadline);
            continue;
        }
        {
            auto fire = std::move(first->second);
            timers_.erase(first);
            lock.unlock();
            // What it captured is freed here too, outside the lock: its destructors may set timers.
            fire();
        }
        lock.lock();
    }
}

}  // namespace concurrency
