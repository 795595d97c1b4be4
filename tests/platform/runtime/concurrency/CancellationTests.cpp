#include "platform/runtime/concurrency/CancellationError.hpp"
#include "platform/runtime/concurrency/CheckedContinuation.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/concurrency/WithCheckedThrowingContinuation.hpp"
#include "platform/runtime/concurrency/WithTaskCancellationHandler.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace concurrency {
namespace {

using testsupport::MainLoop;

// A wait that only a cancellation ends, the way a network transfer is cut short: the handler fails
// the parked continuation.
struct CancellableWait {
    std::optional<CheckedContinuation<void>> parked;
    std::vector<std::string> events;
    std::thread::id handlerThread;

    Task<void> run() {
        co_await withTaskCancellationHandler(
            [this]() -> Task<void> {
                events.emplace_back("operation");
                co_await withCheckedThrowingContinuation<void>(
                    "wait", [this](const auto& continuation) { parked = continuation; });
            },
            [this] {
                events.emplace_back("handler");
                handlerThread = std::this_thread::get_id();
                parked->resumeThrowing(CancellationError());
                parked.reset();
            });
    }
};

TEST(Cancellation, BeforeTheFirstStepIsSeenByTheTask) {
    bool sawCancellation = false;
    const auto handle = spawn(MainActor::shared(), [&]() -> Task<void> {
        sawCancellation = Task<>::isCancelled();
        Task<>::checkCancellation();
        co_return;
    });
    handle.cancel();
    EXPECT_TRUE(handle.isCancelled());
    EXPECT_THROW(MainLoop::runUntilFinished(handle), CancellationError);
    EXPECT_TRUE(sawCancellation);
    // The cancelled task ran on this thread; what runs here outside it is not cancelled.
    EXPECT_FALSE(Task<>::isCancelled());
}

TEST(Cancellation, DuringAWaitRunsTheHandlerAtOnceOnTheCancellingThread) {
    CancellableWait wait;
    const auto mainThread = std::this_thread::get_id();
    std::thread::id resumedOn;
    const auto handle = spawn(MainActor::shared(), [&]() -> Task<void> {
        try {
            co_await wait.run();
        } catch (const CancellationError&) {
            resumedOn = std::this_thread::get_id();
            throw;
        }
    });
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return wait.parked.has_value(); }));

    std::thread::id cancellingThread;
    std::thread canceller([&] {
        cancellingThread = std::this_thread::get_id();
        handle.cancel();
        // Already ran by the time cancel() returns.
        EXPECT_EQ(wait.events.size(), 2U);
    });
    canceller.join();

    EXPECT_THROW(MainLoop::runUntilFinished(handle), CancellationError);
    EXPECT_EQ(wait.handlerThread, cancellingThread);
    EXPECT_EQ(resumedOn, mainThread);
    EXPECT_EQ(wait.events, (std::vector<std::string>{"operation", "handler"}));
}

TEST(Cancellation, AnAlreadyCancelledTaskRunsTheHandlerBeforeTheOperation) {
    std::vector<std::string> events;
    const auto handle = spawn(MainActor::shared(), [&]() -> Task<void> {
        co_await withTaskCancellationHandler(
            [&]() -> Task<void> {
                events.emplace_back("operation");
                co_return;
            },
            [&] { events.emplace_back("handler"); });
    });
    handle.cancel();
    MainLoop::runUntilFinished(handle);
    EXPECT_EQ(events, (std::vector<std::string>{"handler", "operation"}));
}

TEST(Cancellation, TheHandlerIsGoneOnceTheOperationHasEnded) {
    int handlerRuns = 0;
    std::optional<CheckedContinuation<void>> later;
    const auto handle = spawn(MainActor::shared(), [&]() -> Task<int> {
        const int value =
            co_await withTaskCancellationHandler([]() -> Task<int> { co_return 5; }, [&] { ++handlerRuns; });
        co_await withCheckedThrowingContinuation<void>(
            "after", [&](const auto& continuation) { later = continuation; });
        co_return value;
    });
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return later.has_value(); }));
    handle.cancel();
    later->resume();
    later.reset();
    EXPECT_EQ(MainLoop::runUntilFinished(handle), 5);
    EXPECT_EQ(handlerRuns, 0);
}

TEST(Cancellation, AwaitedChildrenShareTheirParentsCancellation) {
    CancellableWait wait;
    bool childSawCancellation = false;
    const auto handle = spawn(MainActor::shared(), [&]() -> Task<void> {
        co_await [&]() -> Task<void> {
            try {
                co_await wait.run();
            } catch (const CancellationError&) {
                childSawCancellation = Task<>::isCancelled();
            }
        }();
    });
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return wait.parked.has_value(); }));
    handle.cancel();
    MainLoop::runUntilFinished(handle);
    EXPECT_TRUE(childSawCancellation);
    EXPECT_EQ(wait.events, (std::vector<std::string>{"operation", "handler"}));
}

}  // namespace
}  // namespace concurrency
