#include "platform/runtime/concurrency/CancellationError.hpp"
#include "platform/runtime/concurrency/CheckedContinuation.hpp"
#include "platform/runtime/concurrency/ContinuationFault.hpp"
#include "platform/runtime/concurrency/Executor.hpp"
#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/ResumeOn.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/concurrency/TaskHandle.hpp"
#include "platform/runtime/concurrency/WithCheckedThrowingContinuation.hpp"
#include "platform/runtime/concurrency/WithTaskCancellationHandler.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace concurrency {
namespace {

using testsupport::MainLoop;

// A stand-in for a network transfer: it ends once, either by completing on a worker thread or by
// being cancelled, whichever comes first, and then resumes its continuation exactly once.
class Transfer {
public:
    void start(CheckedContinuation<int> continuation) {
        {
            const std::lock_guard lock(mutex_);
            continuation_ = std::move(continuation);
        }
        if (cancelRequested_.load()) {
            finish(std::nullopt);
        }
    }
    void complete(int value) { finish(value); }
    void cancel() {
        cancelRequested_.store(true);
        finish(std::nullopt);
    }

private:
    void finish(std::optional<int> value) {
        std::optional<CheckedContinuation<int>> continuation;
        {
            const std::lock_guard lock(mutex_);
            if (!continuation_) {
                return;
            }
            continuation.swap(continuation_);
        }
        if (value) {
            continuation->resume(*value);
        } else {
            continuation->resumeThrowing(CancellationError());
        }
    }

    std::mutex mutex_;
    std::optional<CheckedContinuation<int>> continuation_;
    std::atomic<bool> cancelRequested_{false};
};

// The shape of every network call: a cancellation handler around a checked continuation that a
// foreign thread resumes, racing with a cancel from a third thread.
Task<int> transfer(std::shared_ptr<Transfer> work, int value, std::vector<std::thread>& workers,
                   std::mutex& mutex) {
    // Named, not written inside the co_await: they capture a shared_ptr (see Task.hpp).
    auto startTransfer = [&, work, value](const CheckedContinuation<int>& continuation) {
        work->start(continuation);
        const std::lock_guard lock(mutex);
        workers.emplace_back([work, value] { work->complete(value); });
    };
    auto operation = [&startTransfer]() -> Task<int> {
        co_return co_await withCheckedThrowingContinuation<int>("transfer", startTransfer);
    };
    auto onCancel = [work] { work->cancel(); };
    co_return co_await withTaskCancellationHandler(operation, onCancel);
}

TEST(ConcurrencyStress, TasksEndOnceWhileResumesRaceWithCancellation) {
    std::atomic<int> faults{0};
    const auto previous = ContinuationFault::setReporter([&](const ContinuationFault&) { ++faults; });

    constexpr int taskCount = 400;
    std::mutex mutex;
    std::vector<std::thread> workers;
    std::vector<TaskHandle<int>> handles;
    std::atomic<int> offMainResumes{0};
    for (int index = 0; index < taskCount; ++index) {
        Executor& executor = index % 2 == 0 ? static_cast<Executor&>(MainActor::shared())
                                            : static_cast<Executor&>(GlobalExecutor::shared());
        const bool onMain = index % 2 == 0;
        handles.push_back(spawn(executor, [&, index, onMain]() -> Task<int> {
            const int first = co_await transfer(std::make_shared<Transfer>(), index, workers, mutex);
            if (onMain && !MainActor::isMainThread()) {
                ++offMainResumes;
            }
            co_return first;
        }));
    }
    std::thread canceller([&handles] {
        std::mt19937 random(12345);
        for (std::size_t index = 0; index < handles.size(); index += 1 + random() % 3) {
            handles[index].cancel();
        }
    });

    int completed = 0;
    int cancelled = 0;
    for (std::size_t index = 0; index < handles.size(); ++index) {
        try {
            EXPECT_EQ(MainLoop::runUntilFinished(handles[index]), static_cast<int>(index));
            ++completed;
        } catch (const CancellationError&) {
            ++cancelled;
        }
    }
    canceller.join();
    {
        const std::lock_guard lock(mutex);
        for (auto& worker : workers) {
            worker.join();
        }
    }
    ContinuationFault::setReporter(previous);

    EXPECT_EQ(completed + cancelled, taskCount);
    EXPECT_EQ(faults.load(), 0);
    EXPECT_EQ(offMainResumes.load(), 0);
}

// The child hops away and finishes on the other executor, possibly before the parent has finished
// suspending: whichever comes second must resume the parent, once, on the parent's own executor.
Task<bool> parentOfAChildThatHopsAway(Executor& home, Executor& away) {
    const int value = co_await [](Executor& target) -> Task<int> {
        co_await ResumeOn(target);
        co_return 1;
    }(away);
    co_return value == 1 && home.isCurrent();
}

TEST(ConcurrencyStress, ChildrenFinishingElsewhereRaceTheirParentsSuspension) {
    Executor& main = MainActor::shared();
    Executor& pool = GlobalExecutor::shared();
    std::vector<TaskHandle<bool>> handles;
    for (int index = 0; index < 1'000; ++index) {
        Executor& home = index % 2 == 0 ? main : pool;
        Executor& away = index % 2 == 0 ? pool : main;
        handles.push_back(spawn(home, parentOfAChildThatHopsAway(home, away)));
    }
    int wellPlaced = 0;
    for (const auto& handle : handles) {
        wellPlaced += MainLoop::runUntilFinished(handle) ? 1 : 0;
    }
    EXPECT_EQ(wellPlaced, 1'000);
}

// Copies of a std::runtime_error share its message, and the count of the shares is kept inside
// libstdc++, out of the thread sanitizer's sight: a share that the resuming thread dropped after the
// awaiter had read the message and dropped its own would free the message there, unordered with the
// awaiter's read. The awaiter must drop the last share.
TEST(ConcurrencyStress, AnErrorHandedOverFromAnotherThreadIsFreedByItsAwaiter) {
    for (int index = 0; index < 300; ++index) {
        std::thread resumer;
        auto failFromAnotherThread = [&resumer](const CheckedContinuation<int>& continuation) {
            resumer = std::thread([continuation] { continuation.resumeThrowing(std::runtime_error("failed")); });
        };
        const auto message = MainLoop::runOnMainActor([&failFromAnotherThread]() -> Task<std::string> {
            try {
                co_await withCheckedThrowingContinuation<int>("failing", failFromAnotherThread);
            } catch (const std::runtime_error& error) {
                co_return error.what();
            }
            co_return "no error";
        });
        resumer.join();
        ASSERT_EQ(message, "failed");
    }
}

TEST(ConcurrencyStress, ManyThreadsPostToTheMainQueueAndSpawnOnThePool) {
    constexpr int threads = 8;
    constexpr int perThread = 500;
    std::atomic<int> mainRuns{0};
    std::atomic<int> poolRuns{0};
    std::atomic<int> hopsToMain{0};
    std::vector<std::thread> posters;
    for (int thread = 0; thread < threads; ++thread) {
        posters.emplace_back([&] {
            for (int index = 0; index < perThread; ++index) {
                MainActor::shared().enqueue([&] { mainRuns += MainActor::isMainThread() ? 1 : 0; });
                spawn(GlobalExecutor::shared(), [&]() -> Task<void> {
                    poolRuns += GlobalExecutor::shared().isCurrent() ? 1 : 0;
                    co_await MainActor::run();
                    hopsToMain += MainActor::isMainThread() ? 1 : 0;
                });
            }
        });
    }
    for (auto& poster : posters) {
        poster.join();
    }
    const int expected = threads * perThread;
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return mainRuns == expected && hopsToMain == expected; }));
    EXPECT_EQ(poolRuns.load(), expected);
}

}  // namespace
}  // namespace concurrency
