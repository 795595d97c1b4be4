#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/ResumeOn.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace foundation {
namespace {

using namespace std::chrono_literals;
using concurrency::GlobalExecutor;
using concurrency::MainActor;
using concurrency::ResumeOn;
using concurrency::Task;
using testsupport::LoopbackServer;
using testsupport::MainLoop;

class SessionExecutor : public testing::Test {
protected:
    SessionExecutor() { server_.reply("GET", "/ping", {.status = 200, .body = "pong"}); }

    // The thread that completes the session's tasks.
    std::thread::id completionThread() {
        std::optional<std::thread::id> thread;
        std::atomic<bool> done{false};
        const auto task = session_.dataTask(URLRequest(*URL::fromString(server_.url("/ping"))),
                                            [&](auto&&...) {
                                                thread = std::this_thread::get_id();
                                                done = true;
                                                MainActor::shared().enqueue([] {});
                                            });
        task->resume();
        EXPECT_TRUE(MainLoop::iterateUntil([&] { return done.load(); }));
        return thread.value_or(std::thread::id());
    }

    LoopbackServer server_;
    URLSession session_;
};

TEST_F(SessionExecutor, RunsJobsInOrderOnTheThreadThatCompletesTheTasks) {
    const auto sessionThread = completionThread();
    concurrency::Executor& executor = session_.executor();
    EXPECT_FALSE(executor.isCurrent());

    struct Seen {
        int index;
        std::thread::id thread;
        bool isCurrent;
    };
    std::vector<Seen> seen;  // only the session's thread writes it
    std::atomic<bool> done{false};
    for (int index = 0; index < 50; ++index) {
        executor.enqueue([&, index] { seen.push_back({index, std::this_thread::get_id(), executor.isCurrent()}); });
    }
    executor.enqueueAfter(10ms, [&] {
        seen.push_back({50, std::this_thread::get_id(), executor.isCurrent()});
        done = true;
        MainActor::shared().enqueue([] {});
    });
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return done.load(); }));
    ASSERT_EQ(seen.size(), 51U);
    for (int index = 0; index <= 50; ++index) {
        const auto& job = seen[static_cast<std::size_t>(index)];
        EXPECT_EQ(job.index, index);
        EXPECT_EQ(job.thread, sessionThread) << index;
        EXPECT_TRUE(job.isCurrent) << index;
    }
}

// A task that moves onto the session's thread receives its replies there.
TEST_F(SessionExecutor, ATaskOnTheSessionsThreadGoesOnThereAfterATransfer) {
    const auto sessionThread = completionThread();
    struct Seen {
        std::thread::id afterHop;
        std::thread::id afterTransfer;
        bool isCurrent = false;
        std::string body;
    };
    const auto request = URLRequest(*URL::fromString(server_.url("/ping")));
    const auto seen = MainLoop::runUntilFinished(
        concurrency::spawn(GlobalExecutor::shared(), [this, &request]() -> Task<Seen> {
            Seen result;
            co_await ResumeOn(session_.executor());
            result.afterHop = std::this_thread::get_id();
            const auto reply = co_await session_.data(request);
            result.afterTransfer = std::this_thread::get_id();
            result.isCurrent = session_.executor().isCurrent();
            result.body.assign(reply.data.bytes().begin(), reply.data.bytes().end());
            co_return result;
        }));
    EXPECT_EQ(seen.afterHop, sessionThread);
    EXPECT_EQ(seen.afterTransfer, sessionThread);
    EXPECT_TRUE(seen.isCurrent);
    EXPECT_EQ(seen.body, "pong");
}

TEST(SessionExecutorShutdown, JobsEnqueuedBeforeTheSessionGoesRunBeforeItsDestructorReturns) {
    std::atomic<int> ran{0};
    auto session = std::make_unique<URLSession>();
    concurrency::Executor& executor = session->executor();
    for (int index = 0; index < 100; ++index) {
        executor.enqueue([&ran, &executor] {
            // Enqueued while the session may be shutting down, from its own thread.
            if (ran.fetch_add(1) == 99) {
                executor.enqueue([&ran] { ++ran; });
            }
        });
    }
    session.reset();
    EXPECT_EQ(ran.load(), 101);
}

}  // namespace
}  // namespace foundation
