#include "platform/runtime/concurrency/ContinuationFault.hpp"
#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/concurrency/TaskHandle.hpp"
#include "platform/runtime/foundation/http/HTTPURLResponse.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "tests/support/LoopbackServer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <fstream>
#include <optional>
#include <random>
#include <thread>
#include <vector>

namespace foundation {
namespace {

using concurrency::GlobalExecutor;
using concurrency::Task;
using concurrency::TaskHandle;
using testsupport::LoopbackServer;
using testsupport::Reply;

int threadCount() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("Threads:")) {
            return std::stoi(line.substr(8));
        }
    }
    return -1;
}

URLRequest requestTo(const std::string& url) {
    return URLRequest(*URL::fromString(url));
}

// Counts completions per task and lets the test wait for all of them.
class CompletionTally {
public:
    explicit CompletionTally(std::size_t tasks) : calls_(tasks) {}

    URLSessionTask::CompletionHandler handler(std::size_t index, std::function<void()> alsoOnCompletion = {}) {
        return [this, index, alsoOnCompletion = std::move(alsoOnCompletion)](
                   std::optional<Data> data, std::shared_ptr<const URLResponse> response,
                   std::optional<URLError> error) {
            const auto* http = dynamic_cast<const HTTPURLResponse*>(response.get());
            const bool replied = !error && data && http && http->statusCode() == 200;
            const bool cancelled = error && error->code() == URLError::Code::cancelled && !data && !response;
            if (alsoOnCompletion) {
                alsoOnCompletion();
            }
            const std::lock_guard lock(mutex_);
            ++calls_[index];
            replies_ += replied ? 1 : 0;
            cancellations_ += cancelled ? 1 : 0;
            ++completed_;
            allDone_.notify_all();
        };
    }

    [[nodiscard]] bool waitForAll(std::chrono::seconds limit) {
        std::unique_lock lock(mutex_);
        return allDone_.wait_for(lock, limit, [this] { return completed_ >= calls_.size(); });
    }

    [[nodiscard]] bool eachCompletedOnce() const {
        const std::lock_guard lock(mutex_);
        return std::ranges::all_of(calls_, [](int calls) { return calls == 1; });
    }
    [[nodiscard]] std::size_t replies() const {
        const std::lock_guard lock(mutex_);
        return replies_;
    }
    [[nodiscard]] std::size_t cancellations() const {
        const std::lock_guard lock(mutex_);
        return cancellations_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable allDone_;
    std::vector<int> calls_;
    std::size_t completed_ = 0;
    std::size_t replies_ = 0;
    std::size_t cancellations_ = 0;
};

TEST(URLSessionConcurrency, AThousandConcurrentRequestsCompleteOnOneSessionThread) {
    constexpr std::size_t requests = 1000;
    LoopbackServer server;
    server.reply("GET", "/item", {.status = 200, .body = "item"});
    // The shared session and its thread exist from here on.
    CompletionTally warmUp(1);
    URLSession::shared().dataTask(requestTo(server.url("/item")), warmUp.handler(0))->resume();
    ASSERT_TRUE(warmUp.waitForAll(std::chrono::seconds(60)));
    const int threadsBefore = threadCount();

    std::atomic<int> mostThreads = threadsBefore;
    CompletionTally tally(requests);
    std::vector<std::shared_ptr<URLSessionDataTask>> tasks;
    for (std::size_t i = 0; i < requests; ++i) {
        tasks.push_back(URLSession::shared().dataTask(
            requestTo(server.url("/item?n=" + std::to_string(i))), tally.handler(i, [&mostThreads] {
                int seen = mostThreads.load();
                const int now = threadCount();
                while (now > seen && !mostThreads.compare_exchange_weak(seen, now)) {
                }
            })));
    }
    for (const auto& task : tasks) {
        task->resume();
    }
    ASSERT_TRUE(tally.waitForAll(std::chrono::seconds(300)));
    EXPECT_TRUE(tally.eachCompletedOnce());
    EXPECT_EQ(tally.replies(), requests);
    EXPECT_EQ(server.requests().size(), requests + 1);
    // No thread per request: the session's one thread carried them all.
    EXPECT_LE(mostThreads.load(), threadsBefore + 1);
}

TEST(URLSessionConcurrency, RacingResumeAndCancelCompleteEveryTaskExactlyOnce) {
    constexpr std::size_t count = 300;
    LoopbackServer server;
    server.reply("GET", "/race", {.status = 200, .body = "raced"});
    CompletionTally tally(count);
    std::vector<std::shared_ptr<URLSessionDataTask>> tasks;
    for (std::size_t i = 0; i < count; ++i) {
        tasks.push_back(URLSession::shared().dataTask(requestTo(server.url("/race")), tally.handler(i)));
    }
    // Every third task is left alone, the others are cancelled from two
    // threads while a third resumes them, in opposite orders.
    std::thread resumer([&] {
        for (const auto& task : tasks) {
            task->resume();
        }
    });
    const auto canceller = [&] {
        for (std::size_t i = count; i-- > 0;) {
            if (i % 3 != 0) {
                tasks[i]->cancel();
            }
        }
    };
    std::thread firstCanceller(canceller);
    std::thread secondCanceller(canceller);
    resumer.join();
    firstCanceller.join();
    secondCanceller.join();

    ASSERT_TRUE(tally.waitForAll(std::chrono::seconds(120)));
    // One more request through the session lets any late second completion show.
    CompletionTally settle(1);
    URLSession::shared().dataTask(requestTo(server.url("/race")), settle.handler(0))->resume();
    ASSERT_TRUE(settle.waitForAll(std::chrono::seconds(60)));

    EXPECT_TRUE(tally.eachCompletedOnce());
    EXPECT_EQ(tally.replies() + tally.cancellations(), count);
    EXPECT_GE(tally.replies(), count / 3);
}

// Raises `most` to the number of threads the process has now.
void noteThreadCount(std::atomic<int>& most) {
    int seen = most.load();
    const int now = threadCount();
    while (now > seen && !most.compare_exchange_weak(seen, now)) {
    }
}

template <typename T>
[[nodiscard]] bool waitUntilAllFinished(const std::vector<TaskHandle<T>>& handles,
                                        std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!std::ranges::all_of(handles, [](const auto& handle) { return handle.isFinished(); })) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// How one awaited call on the pool ended: the body of its reply, or its error's code.
struct PoolOutcome {
    std::optional<std::string> body;
    std::optional<URLError::Code> error;
    bool resumedOnThePool = false;
};

TaskHandle<PoolOutcome> spawnAwaitedRequest(const std::string& url, std::atomic<int>* mostThreads = nullptr) {
    return concurrency::spawn(GlobalExecutor::shared(), [url, mostThreads]() -> Task<PoolOutcome> {
        PoolOutcome outcome;
        try {
            const auto reply = co_await URLSession::shared().data(requestTo(url));
            outcome.body = std::string(reply.data.view());
        } catch (const URLError& error) {
            outcome.error = error.code();
        }
        outcome.resumedOnThePool = GlobalExecutor::shared().isCurrent();
        if (mostThreads != nullptr) {
            noteThreadCount(*mostThreads);
        }
        co_return outcome;
    });
}

TEST(URLSessionConcurrency, AThousandAwaitedRequestsFromThePoolAddNoThreads) {
    constexpr std::size_t requests = 1000;
    LoopbackServer server;
    // Each reply names its request, so that no call can be handed another's reply unnoticed.
    server.handle("GET", "/item", [](const testsupport::RecordedRequest& request) {
        return Reply{.status = 200, .body = request.target};
    });
    // The pool and the shared session with their threads exist from here on.
    const std::vector warmUp{spawnAwaitedRequest(server.url("/item?n=warm-up"))};
    ASSERT_TRUE(waitUntilAllFinished(warmUp, std::chrono::seconds(60)));
    const int threadsBefore = threadCount();

    std::atomic<int> mostThreads = threadsBefore;
    std::vector<TaskHandle<PoolOutcome>> handles;
    for (std::size_t i = 0; i < requests; ++i) {
        handles.push_back(spawnAwaitedRequest(server.url("/item?n=" + std::to_string(i)), &mostThreads));
        noteThreadCount(mostThreads);
    }
    ASSERT_TRUE(waitUntilAllFinished(handles, std::chrono::seconds(300)));
    for (std::size_t i = 0; i < requests; ++i) {
        const auto outcome = handles[i].result();
        EXPECT_EQ(outcome.body, "/item?n=" + std::to_string(i));
        EXPECT_FALSE(outcome.error);
        EXPECT_TRUE(outcome.resumedOnThePool);
    }
    EXPECT_EQ(server.requests().size(), requests + 1);
    // The session's one thread carried every transfer and the pool's threads every caller.
    EXPECT_LE(mostThreads.load(), threadsBefore + 1);
}

TEST(URLSessionConcurrency, AwaitedRequestsCancelledAtAnyMomentEndOnce) {
    std::atomic<int> faults{0};
    const auto previous =
        concurrency::ContinuationFault::setReporter([&](const concurrency::ContinuationFault&) { ++faults; });
    constexpr std::size_t count = 300;
    LoopbackServer server;
    server.reply("GET", "/slow", {.status = 200, .body = "slow", .delay = std::chrono::milliseconds(20)});

    std::vector<TaskHandle<PoolOutcome>> handles;
    for (std::size_t i = 0; i < count; ++i) {
        handles.push_back(spawnAwaitedRequest(server.url("/slow")));
    }
    // Every other call is cancelled from another thread at a random moment: before its first step,
    // while its task is being made and started, or during the transfer.
    std::thread canceller([&handles] {
        std::mt19937 random(2024);
        for (std::size_t i = 0; i < handles.size(); i += 2) {
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 200));
            handles[i].cancel();
        }
    });
    canceller.join();
    ASSERT_TRUE(waitUntilAllFinished(handles, std::chrono::seconds(120)));
    concurrency::ContinuationFault::setReporter(previous);

    std::size_t cancelled = 0;
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        const auto outcome = handles[i].result();
        EXPECT_TRUE(outcome.resumedOnThePool);
        if (i % 2 != 0 || !outcome.error) {
            EXPECT_EQ(outcome.body, "slow");
            EXPECT_FALSE(outcome.error);
        } else {
            EXPECT_EQ(outcome.error, URLError::Code::cancelled);
            ++cancelled;
        }
    }
    EXPECT_GT(cancelled, 0U);
    EXPECT_EQ(faults.load(), 0);
}

}  // namespace
}  // namespace foundation
