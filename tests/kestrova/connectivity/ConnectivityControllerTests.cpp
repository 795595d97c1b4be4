#include "kestrova/connectivity/ConnectivityController.hpp"

#include "platform/runtime/combine/AnyCancellable.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace kestrova {
namespace {

using network::Path;
using Status = network::Path::Status;
using testsupport::MainLoop;

headless::HeadlessPathService& paths() {
    return headless::HeadlessBackend::installed().pathService();
}

// Counts the controller's change notices and the values it held after each, from the main thread.
struct Observer {
    explicit Observer(ConnectivityController& controller)
        : subscription(controller.objectWillChange().sink([this] {
              notices += 1;
              onMainThread = onMainThread && concurrency::MainActor::isMainThread();
          })) {}

    int notices = 0;
    bool onMainThread = true;
    combine::AnyCancellable subscription;
};

class ConnectivityControllerTest : public testing::Test {
protected:
    void SetUp() override { paths().post({Status::satisfied}); }
    void TearDown() override {
        MainLoop::iterateUntil([] { return paths().subscriberCount() == 0; }, std::chrono::seconds(5));
        paths().post({Status::satisfied});
    }
};

TEST_F(ConnectivityControllerTest, ControllerMadeOfflineIsConnectedUntilTheFirstReportSaysOtherwise) {
    paths().post({Status::unsatisfied});
    const auto controller = ConnectivityController::make();
    Observer observer(*controller);
    EXPECT_TRUE(controller->isConnected.get());
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return observer.notices == 1; }));
    EXPECT_FALSE(controller->isConnected.get());
}

TEST_F(ConnectivityControllerTest, OnlyASatisfiedPathIsConnected) {
    const auto controller = ConnectivityController::make();
    Observer observer(*controller);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return observer.notices == 1; }));  // the current path
    const std::vector<std::pair<Status, bool>> cases = {
        {Status::unsatisfied, false},
        {Status::satisfied, true},
        {Status::requiresConnection, false},
        {Status::satisfied, true},
    };
    for (const auto& [status, connected] : cases) {
        const int before = observer.notices;
        paths().post({status});
        ASSERT_TRUE(MainLoop::iterateUntil([&] { return observer.notices == before + 1; }));
        EXPECT_EQ(controller->isConnected.get(), connected);
    }
    EXPECT_TRUE(observer.onMainThread);
}

TEST_F(ConnectivityControllerTest, EveryReportIsWrittenOnceAlsoWhenNothingChanged) {
    const auto controller = ConnectivityController::make();
    Observer observer(*controller);
    std::vector<bool> published;
    const combine::AnyCancellable values =
        controller->isConnected.publisher().sink([&](bool value) { published.push_back(value); });
    paths().post({Status::unsatisfied});
    paths().post({Status::unsatisfied});
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return observer.notices == 3; }));
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(50));
    EXPECT_EQ(observer.notices, 3);
    // The current value at subscription, then the first (satisfied) report and the two others.
    EXPECT_EQ(published, (std::vector<bool>{true, true, false, false}));
}

TEST_F(ConnectivityControllerTest, AWriteAlreadyPostedKeepsTheControllerUntilItRunsAndLaterReportsAreDropped) {
    auto controller = ConnectivityController::make();
    const std::weak_ptr<ConnectivityController> weak = controller;
    Observer observer(*controller);
    // Wait until the current path's write is on the main queue, then let go of the controller.
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return observer.notices == 1; }));
    paths().post({Status::unsatisfied});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the write reaches the main queue
    controller.reset();
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return weak.expired(); }));
    EXPECT_EQ(observer.notices, 2);
    EXPECT_EQ(paths().subscriberCount(), 0u);
    paths().post({Status::satisfied});
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(50));
    EXPECT_EQ(observer.notices, 2);
}

// Reports from several threads while controllers come and go on the main thread.
TEST_F(ConnectivityControllerTest, ReportsFromOtherThreadsWhileControllersComeAndGo) {
    std::atomic<bool> stop{false};
    std::vector<std::thread> reporters;
    for (int thread = 0; thread < 3; ++thread) {
        reporters.emplace_back([&, thread] {
            int i = thread;
            while (!stop.load()) {
                paths().post({i++ % 2 == 0 ? Status::satisfied : Status::unsatisfied});
                std::this_thread::yield();
            }
        });
    }
    for (int round = 0; round < 50; ++round) {
        auto controller = ConnectivityController::make();
        Observer observer(*controller);
        MainLoop::iterateUntil([&] { return observer.notices >= 3; }, std::chrono::seconds(5));
        EXPECT_GE(observer.notices, 1);
        EXPECT_TRUE(observer.onMainThread);
    }
    stop = true;
    for (auto& reporter : reporters) {
        reporter.join();
    }
}

}  // namespace
}  // namespace kestrova
