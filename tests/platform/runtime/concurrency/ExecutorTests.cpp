#include "platform/runtime/concurrency/CheckedContinuation.hpp"
#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/ResumeOn.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/concurrency/WithCheckedThrowingContinuation.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace concurrency {
namespace {

using testsupport::MainLoop;

TEST(Executors, HopsRunTheRestOfTheCoroutineWhereAsked) {
    const auto mainThread = std::this_thread::get_id();
    struct Seen {
        std::thread::id afterMainHop;
        std::thread::id afterGlobalHop;
        bool onPoolThread = false;
        bool mainThreadAfterGlobalHop = true;
    };
    const Seen seen = MainLoop::runUntilFinished(spawn(GlobalExecutor::shared(), []() -> Task<Seen> {
        Seen result;
        co_await MainActor::run();
        result.afterMainHop = std::this_thread::get_id();
        co_await ResumeOn(GlobalExecutor::shared());
        result.afterGlobalHop = std::this_thread::get_id();
        result.onPoolThread = GlobalExecutor::shared().isCurrent();
        result.mainThreadAfterGlobalHop = MainActor::isMainThread();
        co_return result;
    }));
    EXPECT_EQ(seen.afterMainHop, mainThread);
    EXPECT_NE(seen.afterGlobalHop, mainThread);
    EXPECT_TRUE(seen.onPoolThread);
    EXPECT_FALSE(seen.mainThreadAfterGlobalHop);
    EXPECT_GE(GlobalExecutor::shared().threadCount(), 2U);
}

TEST(Executors, ACallbackOnAnotherThreadResumesAMainActorTaskOnTheMainThread) {
    const auto mainThread = std::this_thread::get_id();
    std::thread callbackThread;
    const auto resumedOn = MainLoop::runOnMainActor([&]() -> Task<std::thread::id> {
        const int value = co_await withCheckedThrowingContinuation<int>("callback", [&](auto continuation) {
            callbackThread = std::thread([continuation] { continuation.resume(42); });
        });
        EXPECT_EQ(value, 42);
        co_return std::this_thread::get_id();
    });
    callbackThread.join();
    EXPECT_EQ(resumedOn, mainThread);
}

TEST(Executors, AChildThatHopsAwayHandsBackOnTheParentsExecutor) {
    const auto mainThread = std::this_thread::get_id();
    const auto threads = MainLoop::runOnMainActor([]() -> Task<std::pair<std::thread::id, std::thread::id>> {
        const auto child = co_await []() -> Task<std::thread::id> {
            co_await ResumeOn(GlobalExecutor::shared());
            co_return std::this_thread::get_id();
        }();
        co_return std::pair(child, std::this_thread::get_id());
    });
    EXPECT_NE(threads.first, mainThread);
    EXPECT_EQ(threads.second, mainThread);
}

TEST(MainActor, RunsJobsOnTheMainThreadInTheOrderTheyWereEnqueued) {
    const auto mainThread = std::this_thread::get_id();
    std::mutex mutex;
    std::vector<int> order;
    bool allOnMain = true;
    auto post = [&](int value) {
        MainActor::shared().enqueue([&, value] {
            const std::lock_guard lock(mutex);
            allOnMain = allOnMain && std::this_thread::get_id() == mainThread;
            order.push_back(value);
        });
    };
    std::thread other([&] {
        for (int value = 0; value < 100; ++value) {
            post(value);
        }
    });
    other.join();
    // Posted from inside a callback: runs after everything already waiting.
    MainActor::shared().enqueue([&] { post(100); });
    EXPECT_TRUE(MainLoop::iterateUntil([&] {
        const std::lock_guard lock(mutex);
        return order.size() == 101;
    }));
    std::vector<int> expected(101);
    for (int value = 0; value <= 100; ++value) {
        expected[static_cast<std::size_t>(value)] = value;
    }
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(allOnMain);
}

TEST(MainActorDeathTest, PreconditionIsolatedStopsACallerOffTheMainThread) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    MainActor::preconditionIsolated();
    EXPECT_DEATH(std::thread([] { MainActor::preconditionIsolated(); }).join(),
                 "ExecutorTests.cpp:[0-9]+: .*main-actor state touched off the main thread");
    // A pool job is off the main thread too, even though a main-actor task started it.
    EXPECT_DEATH(MainLoop::runOnMainActor([]() -> Task<void> {
                     co_await ResumeOn(GlobalExecutor::shared());
                     MainActor::preconditionIsolated();
                 }),
                 "main-actor state touched off the main thread");
}

}  // namespace
}  // namespace concurrency
