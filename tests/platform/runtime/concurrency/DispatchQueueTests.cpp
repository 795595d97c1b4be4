#include "platform/runtime/concurrency/DispatchQueue.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using testsupport::MainLoop;

TEST(DispatchQueueTest, ASerialQueueRunsOneCallbackAtATimeInTheOrderPosted) {
    const concurrency::DispatchQueue queue("Monitor");
    EXPECT_EQ(queue.label(), "Monitor");
    constexpr int perThread = 500;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    std::atomic<bool> offTheQueue{false};
    std::mutex mutex;
    std::vector<std::vector<int>> seen(4);
    std::atomic<int> done{0};

    std::vector<std::thread> posters;
    for (int thread = 0; thread < 4; ++thread) {
        posters.emplace_back([&, thread] {
            for (int i = 0; i < perThread; ++i) {
                queue.async([&, thread, i] {
                    if (running.fetch_add(1) != 0) {
                        overlapped = true;
                    }
                    if (!queue.isCurrent()) {
                        offTheQueue = true;
                    }
                    {
                        const std::lock_guard lock(mutex);
                        seen[static_cast<std::size_t>(thread)].push_back(i);
                    }
                    running.fetch_sub(1);
                    done.fetch_add(1);
                });
            }
        });
    }
    for (auto& poster : posters) {
        poster.join();
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (done.load() < 4 * perThread && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(done.load(), 4 * perThread);
    EXPECT_FALSE(overlapped.load());
    EXPECT_FALSE(offTheQueue.load());
    EXPECT_FALSE(queue.isCurrent());
    const std::lock_guard lock(mutex);
    for (const auto& fromOneThread : seen) {
        EXPECT_TRUE(std::is_sorted(fromOneThread.begin(), fromOneThread.end()));
    }
}

TEST(DispatchQueueTest, TheMainQueueRunsItsCallbacksOnTheMainThreadLater) {
    bool ran = false;
    bool onMain = false;
    concurrency::DispatchQueue::main().async([&] {
        ran = true;
        onMain = concurrency::DispatchQueue::main().isCurrent() && concurrency::MainActor::isMainThread();
    });
    EXPECT_FALSE(ran);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return ran; }));
    EXPECT_TRUE(onMain);
}

}  // namespace
