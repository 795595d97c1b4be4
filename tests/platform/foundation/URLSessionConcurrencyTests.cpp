#include "foundation/HTTPURLResponse.hpp"
#include "foundation/URLSession.hpp"
#include "support/LoopbackServer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <fstream>
#include <thread>
#include <vector>

namespace foundation {
namespace {

using testsupport::LoopbackServer;

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

}  // namespace
}  // namespace foundation
