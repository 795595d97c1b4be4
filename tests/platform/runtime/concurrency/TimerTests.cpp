#include "platform/runtime/concurrency/CancellationError.hpp"
#include "platform/runtime/concurrency/DelayedJob.hpp"
#include "platform/runtime/concurrency/Executor.hpp"
#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/SerialExecutor.hpp"
#include "platform/runtime/concurrency/Sleep.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace concurrency {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testsupport::MainLoop;

// Each executor keeps its delays its own way: the main context's clock, the timer thread.
struct ExecutorCase {
    const char* name;
    Executor& executor;
};

class Timers : public testing::Test {
protected:
    std::vector<ExecutorCase> executors() {
        return {{"main actor", MainActor::shared()}, {"global", GlobalExecutor::shared()}, {"serial", serial_}};
    }

    // The main loop only looks at the test's condition when something wakes it.
    static void wakeMainLoop() { MainActor::shared().enqueue([] {}); }

    SerialExecutor serial_{"timers"};
};

TEST_F(Timers, ADelayedJobRunsOnItsExecutorNoSoonerThanItsDelay) {
    for (const auto delay : {30ms, 0ms, -5ms}) {
        for (const auto& c : executors()) {
            struct Run {
                Clock::duration after{};
                bool onExecutor = false;
                std::atomic<bool> done{false};
            } run;
            const auto start = Clock::now();
            c.executor.enqueueAfter(delay, [&run, &c, start] {
                run.after = Clock::now() - start;
                run.onExecutor = c.executor.isCurrent();
                run.done = true;
                wakeMainLoop();
            });
            ASSERT_TRUE(MainLoop::iterateUntil([&] { return run.done.load(); })) << c.name << " " << delay.count();
            EXPECT_GE(run.after, delay) << c.name;
            EXPECT_TRUE(run.onExecutor) << c.name;
        }
    }
}

TEST_F(Timers, JobsDueInOrderRunInThatOrderOnASerialExecutor) {
    std::vector<int> order;  // the queue keeps the jobs apart
    std::atomic<bool> done{false};
    serial_.enqueueAfter(40ms, [&] {
        order.push_back(3);
        done = true;
        wakeMainLoop();
    });
    serial_.enqueueAfter(20ms, [&] { order.push_back(2); });
    serial_.enqueueAfter(0ms, [&] { order.push_back(1); });
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return done.load(); }));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(Timers, ACancelledJobNeverRunsAndIsFreedAtOnce) {
    for (const auto& c : executors()) {
        std::atomic<bool> cancelledRan{false};
        std::atomic<bool> laterRan{false};
        auto captured = std::make_shared<int>(0);
        const std::weak_ptr<int> watch = captured;
        const auto job = c.executor.enqueueAfter(20ms, [&cancelledRan, captured] { cancelledRan = true; });
        captured.reset();
        EXPECT_TRUE(job.cancel()) << c.name;
        EXPECT_TRUE(watch.expired()) << c.name;
        EXPECT_FALSE(job.cancel()) << c.name;

        // Due well after the cancelled one, on the same clock.
        c.executor.enqueueAfter(80ms, [&laterRan] {
            laterRan = true;
            wakeMainLoop();
        });
        ASSERT_TRUE(MainLoop::iterateUntil([&] { return laterRan.load(); })) << c.name;
        EXPECT_FALSE(cancelledRan.load()) << c.name;
    }
}

TEST_F(Timers, CancellingAJobThatHasRunChangesNothing) {
    for (const auto& c : executors()) {
        std::atomic<int> runs{0};
        const auto job = c.executor.enqueueAfter(0ms, [&runs] {
            ++runs;
            wakeMainLoop();
        });
        ASSERT_TRUE(MainLoop::iterateUntil([&] { return runs.load() == 1; })) << c.name;
        EXPECT_FALSE(job.cancel()) << c.name;
        EXPECT_EQ(runs.load(), 1) << c.name;
    }
    EXPECT_FALSE(DelayedJob().cancel());
}

// Cancels race with jobs coming due: each job either runs or is cancelled, never both, never neither.
TEST_F(Timers, EachJobEitherRunsOrIsCancelledWhenBothRace) {
    constexpr std::size_t jobs = 300;
    for (const auto& c : executors()) {
        std::vector<std::atomic<bool>> ran(jobs);
        std::vector<char> cancelled(jobs, 0);
        std::atomic<std::size_t> settled{0};
        std::vector<DelayedJob> handles;
        for (std::size_t index = 0; index < jobs; ++index) {
            handles.push_back(c.executor.enqueueAfter(std::chrono::microseconds(index % 7 * 100), [&, index] {
                ran[index] = true;
                ++settled;
                wakeMainLoop();
            }));
        }
        std::thread canceller([&] {
            for (std::size_t index = 0; index < jobs; ++index) {
                cancelled[index] = handles[index].cancel() ? 1 : 0;
                settled += static_cast<std::size_t>(cancelled[index]);
            }
            wakeMainLoop();
        });
        const bool allSettled = MainLoop::iterateUntil([&] { return settled.load() == jobs; });
        canceller.join();
        EXPECT_TRUE(allSettled) << c.name;
        for (std::size_t index = 0; index < jobs; ++index) {
            EXPECT_NE(ran[index].load(), cancelled[index] == 1) << c.name << " job " << index;
        }
    }
}

TEST_F(Timers, ASleepingTaskGoesOnWhereItWasNoSoonerThanTheDuration) {
    for (const auto& c : executors()) {
        struct Woke {
            Clock::duration after{};
            bool onExecutor = false;
        };
        const auto woke = MainLoop::runUntilFinished(spawn(c.executor, [&c]() -> Task<Woke> {
            const auto start = Clock::now();
            co_await sleepFor(30ms);
            co_return Woke{Clock::now() - start, c.executor.isCurrent()};
        }));
        EXPECT_GE(woke.after, 30ms) << c.name;
        EXPECT_TRUE(woke.onExecutor) << c.name;
    }
}

// A sleep far longer than the test's bound ends only through the cancellation, from another thread.
TEST_F(Timers, CancellingASleepingTaskWakesItAtOnceWithCancellationError) {
    for (const auto& c : executors()) {
        std::atomic<bool> sleeping{false};
        const auto handle = spawn(c.executor, [&sleeping]() -> Task<void> {
            sleeping = true;
            wakeMainLoop();
            co_await sleepFor(1h);
        });
        ASSERT_TRUE(MainLoop::iterateUntil([&] { return sleeping.load(); })) << c.name;
        std::thread([&handle] { handle.cancel(); }).join();
        EXPECT_THROW(MainLoop::runUntilFinished(handle, 5s), CancellationError) << c.name;
    }
}

TEST_F(Timers, ATaskCancelledBeforeItSleepsDoesNotSleep) {
    for (const auto& c : executors()) {
        const auto handle = spawn(c.executor, []() -> Task<int> {
            co_await sleepFor(1h);
            co_return 1;
        });
        handle.cancel();
        EXPECT_THROW(MainLoop::runUntilFinished(handle, 5s), CancellationError) << c.name;
    }
}

// Sleeps of many tasks at once, some cancelled while the timers fire: every task ends, each one way.
TEST_F(Timers, ManySleepersEndEitherAwakeOrCancelled) {
    constexpr int tasks = 200;
    std::vector<TaskHandle<void>> handles;
    for (int index = 0; index < tasks; ++index) {
        Executor& executor = index % 2 == 0 ? static_cast<Executor&>(GlobalExecutor::shared()) : serial_;
        handles.push_back(spawn(executor, [index]() -> Task<void> {
            co_await sleepFor(std::chrono::microseconds(index % 5 * 200));
        }));
    }
    for (int index = 0; index < tasks; index += 3) {
        handles[static_cast<std::size_t>(index)].cancel();
    }
    for (const auto& handle : handles) {
        try {
            MainLoop::runUntilFinished(handle);
        } catch (const CancellationError&) {
            EXPECT_TRUE(handle.isCancelled());
        }
    }
}

}  // namespace
}  // namespace concurrency
