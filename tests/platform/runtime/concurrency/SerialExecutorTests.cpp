#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/ResumeOn.hpp"
#include "platform/runtime/concurrency/SerialExecutor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace concurrency {
namespace {

using testsupport::MainLoop;

TEST(SerialExecutor, KeepsItsLabel) {
    const SerialExecutor monitor("Monitor");
    EXPECT_EQ(monitor.label(), "Monitor");
}

// Jobs from several threads: each thread's jobs run in the order it enqueued them, and no two at once.
// The record is written without a lock: only the queue keeps the writers apart, and the thread
// sanitizer sees it if it does not.
TEST(SerialExecutor, RunsJobsOneAtATimeInTheOrderTheyCame) {
    constexpr int threads = 4;
    constexpr int jobsPerThread = 500;
    SerialExecutor queue("order");
    std::vector<std::pair<int, int>> record;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    std::atomic<int> finished{0};
    std::vector<std::thread> senders;
    for (int thread = 0; thread < threads; ++thread) {
        senders.emplace_back([&, thread] {
            for (int job = 0; job < jobsPerThread; ++job) {
                queue.enqueue([&, thread, job] {
                    if (running.fetch_add(1) != 0) {
                        overlapped = true;
                    }
                    record.emplace_back(thread, job);
                    std::this_thread::yield();
                    running.fetch_sub(1);
                    if (finished.fetch_add(1) + 1 == threads * jobsPerThread) {
                        MainActor::shared().enqueue([] {});
                    }
                });
            }
        });
    }
    for (auto& sender : senders) {
        sender.join();
    }
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return finished.load() == threads * jobsPerThread; }));
    EXPECT_FALSE(overlapped.load());
    ASSERT_EQ(record.size(), static_cast<std::size_t>(threads * jobsPerThread));
    std::vector<int> next(threads, 0);
    for (const auto& [thread, job] : record) {
        EXPECT_EQ(job, next[static_cast<std::size_t>(thread)]++) << "thread " << thread;
    }
}

TEST(SerialExecutor, RunsOnPoolThreadsAndKnowsItsOwnJobs) {
    SerialExecutor first("first");
    SerialExecutor second("second");
    struct Seen {
        bool onPool = false;
        bool firstIsCurrent = false;
        bool secondIsCurrent = true;
        bool mainThread = true;
    };
    std::optional<Seen> seen;
    std::atomic<bool> done{false};
    first.enqueue([&] {
        seen = Seen{GlobalExecutor::shared().isCurrent(), first.isCurrent(), second.isCurrent(),
                    MainActor::isMainThread()};
        done = true;
        MainActor::shared().enqueue([] {});
    });
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return done.load(); }));
    EXPECT_TRUE(seen->onPool);
    EXPECT_TRUE(seen->firstIsCurrent);
    EXPECT_FALSE(seen->secondIsCurrent);
    EXPECT_FALSE(seen->mainThread);
    EXPECT_FALSE(first.isCurrent());
}

TEST(SerialExecutor, ATaskGoesOnOnTheQueueAfterEachSuspension) {
    SerialExecutor queue("task");
    const auto stayed = MainLoop::runOnMainActor([&queue]() -> Task<std::pair<bool, bool>> {
        co_await ResumeOn(queue);
        const bool afterHop = queue.isCurrent();
        co_await MainActor::run();
        co_await ResumeOn(queue);
        co_return std::pair(afterHop, queue.isCurrent());
    });
    EXPECT_TRUE(stayed.first);
    EXPECT_TRUE(stayed.second);
}

TEST(SerialExecutor, JobsEnqueuedBeforeTheExecutorGoesStillRun) {
    constexpr int jobs = 200;
    std::atomic<int> ran{0};
    {
        SerialExecutor queue("short-lived");
        for (int job = 0; job < jobs; ++job) {
            queue.enqueue([&ran] {
                if (ran.fetch_add(1) + 1 == jobs) {
                    MainActor::shared().enqueue([] {});
                }
            });
        }
    }
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return ran.load() == jobs; }));
}

}  // namespace
}  // namespace concurrency
