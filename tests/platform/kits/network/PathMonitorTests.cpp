#include "platform/kits/network/PathMonitor.hpp"

#include "platform/backends/headless/HeadlessBackend.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using network::Path;
using Status = network::Path::Status;

headless::HeadlessPathService& paths() {
    return headless::HeadlessBackend::installed().pathService();
}

// What a handler saw, from the monitor's queue.
struct Reports {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Status> statuses;
    bool allOnTheQueue = true;

    bool waitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [&] { return statuses.size() >= count; });
    }
    std::vector<Status> seen() {
        const std::lock_guard lock(mutex);
        return statuses;
    }
};

class PathMonitorTest : public testing::Test {
protected:
    void SetUp() override { paths().post({Status::satisfied}); }
    void TearDown() override { paths().post({Status::satisfied}); }

    void start(network::PathMonitor& monitor, Reports& reports) {
        monitor.setPathUpdateHandler([&reports, queue = queue_](const Path& path) {
            const std::lock_guard lock(reports.mutex);
            reports.allOnTheQueue = reports.allOnTheQueue && queue.isCurrent();
            reports.statuses.push_back(path.status);
            reports.changed.notify_all();
        });
        monitor.start(queue_);
    }

    concurrency::DispatchQueue queue_{"Monitor"};
};

TEST_F(PathMonitorTest, TheCurrentPathComesFirstThenEveryReportOnceInOrderOnTheQueue) {
    paths().post({Status::unsatisfied});
    Reports reports;
    network::PathMonitor monitor;
    start(monitor, reports);
    for (const Status status : {Status::satisfied, Status::satisfied, Status::requiresConnection, Status::unsatisfied}) {
        paths().post({status});
    }
    ASSERT_TRUE(reports.waitFor(5));
    EXPECT_EQ(reports.seen(), (std::vector<Status>{Status::unsatisfied, Status::satisfied, Status::satisfied,
                                                   Status::requiresConnection, Status::unsatisfied}));
    EXPECT_TRUE(reports.allOnTheQueue);
}

TEST_F(PathMonitorTest, NoReportReachesTheHandlerAfterCancel) {
    Reports reports;
    auto monitor = std::make_unique<network::PathMonitor>();
    start(*monitor, reports);
    ASSERT_TRUE(reports.waitFor(1));
    monitor->cancel();
    EXPECT_EQ(paths().subscriberCount(), 0u);
    paths().post({Status::unsatisfied});
    monitor.reset();  // a monitor that goes also cancels; here it already was
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(reports.seen().size(), 1u);
}

}  // namespace
