#pragma once

#include "platform/runtime/concurrency/DelayedJob.hpp"
#include "platform/runtime/concurrency/Executor.hpp"

#include <chrono>
#include <compare>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace concurrency {

// One thread for the delays of every executor that has no clock of its own: it sleeps until the
// earliest deadline, then hands the job to its executor. It never runs a job itself, so a slow job
// cannot hold up another executor's timers.
class TimerThread {
public:
    using Clock = std::chrono::steady_clock;

    // Once `delay` has passed (at once for none or a negative one), hands `post` a job to put on its
    // executor's queue; that job runs `job` unless the returned handle has cancelled it by then.
    static DelayedJob enqueueAfter(std::chrono::nanoseconds delay, Executor::Job job,
                                   std::function<void(Executor::Job)> post);

    TimerThread(const TimerThread&) = delete;
    TimerThread& operator=(const TimerThread&) = delete;

private:
    struct Key {
        Clock::time_point deadline;
        // Keeps timers with one deadline apart and in the order they were set.
        std::uint64_t sequence;

        friend auto operator<=>(const Key&, const Key&) = default;
    };

    TimerThread();
    ~TimerThread() = default;
    static TimerThread& shared();

    Key schedule(Clock::time_point deadline, std::function<void()> fire);
    void unschedule(Key key);
    [[noreturn]] void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<Key, std::function<void()>> timers_;
    std::uint64_t nextSequence_ = 0;
    std::thread thread_;
};

}  // namespace concurrency
