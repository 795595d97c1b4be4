#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/ResumeOn.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

namespace concurrency {
namespace {

using testsupport::MainLoop;

Task<int> number(int value) {
    co_return value;
}

Task<int> failing(std::string message) {
    co_await number(0);
    throw std::runtime_error(message);
}

Task<int> sumOfChildren(int count) {
    int sum = 0;
    for (int index = 0; index < count; ++index) {
        sum += co_await number(1);
    }
    co_return sum;
}

Task<int> nested(int depth) {
    if (depth == 0) {
        co_return 0;
    }
    co_return 1 + co_await nested(depth - 1);
}

TEST(Task, ReturnsValuesThroughAwaitingChains) {
    struct Case {
        const char* name;
        std::function<Task<int>()> make;
        int expected;
    };
    const Case cases[] = {
        {"direct value", [] { return number(7); }, 7},
        // Children that finish at once hand control straight back; a chain this long would overflow the
        // stack if each await nested a call.
        {"many children awaited in a loop", [] { return sumOfChildren(200'000); }, 200'000},
        {"deeply nested awaits", [] { return nested(2'000); }, 2'000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MainLoop::runOnMainActor([&c]() -> Task<int> { co_return co_await c.make(); }), c.expected)
            << c.name;
    }
}

TEST(Task, RethrowsToTheAwaiterAndThroughTheHandle) {
    const int caught = MainLoop::runOnMainActor([]() -> Task<int> {
        try {
            co_await failing("inner");
        } catch (const std::runtime_error& error) {
            co_return std::string(error.what()) == "inner" ? 1 : -1;
        }
        co_return 0;
    });
    EXPECT_EQ(caught, 1);

    const auto handle = spawn(MainActor::shared(), failing("outer"));
    EXPECT_THROW(
        {
            try {
                MainLoop::runUntilFinished(handle);
            } catch (const std::runtime_error& error) {
                EXPECT_STREQ(error.what(), "outer");
                throw;
            }
        },
        std::runtime_error);
    EXPECT_THROW(MainLoop::runOnMainActor([]() -> Task<void> {
                     co_await number(1);
                     throw std::logic_error("void task");
                 }),
                 std::logic_error);
}

TEST(Task, AwaitingAChildDoesNotChangeThread) {
    const auto handle = spawn(GlobalExecutor::shared(), []() -> Task<bool> {
        const auto parent = std::this_thread::get_id();
        const auto child = co_await []() -> Task<std::thread::id> { co_return std::this_thread::get_id(); }();
        co_return parent == child;
    });
    EXPECT_TRUE(MainLoop::runUntilFinished(handle));
}

TEST(Spawn, StartsLaterAndKeepsRunningWithoutItsHandle) {
    bool started = false;
    bool finished = false;
    {
        const auto dropped = spawn(MainActor::shared(), [&]() -> Task<void> {
            started = true;
            co_await ResumeOn(GlobalExecutor::shared());
            co_await MainActor::run();
            finished = true;
        });
        // The first step waits for the main loop, so whatever the spawning code does next comes first.
        EXPECT_FALSE(started);
    }
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return finished; }));
}

TEST(Spawn, KeepsTheCapturesOfTheLambdaAliveWhileTheTaskRuns) {
    std::string captured(100, 'x');
    const auto handle = spawn(MainActor::shared(), [captured]() -> Task<std::size_t> {
        co_await ResumeOn(GlobalExecutor::shared());
        co_await MainActor::run();
        co_return captured.size();
    });
    captured.clear();
    EXPECT_EQ(MainLoop::runUntilFinished(handle), 100U);
}

}  // namespace
}  // namespace concurrency
