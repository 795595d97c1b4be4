#include "platform/kits/widgetkit/ReloadRequests.hpp"

#include "platform/backends/headless/HeadlessBackend.hpp"
#include "platform/kits/widgetkit/WidgetCenter.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScopedAppGroupDirectory.hpp"
#include "tests/support/Subprocess.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using testsupport::MainLoop;
using testsupport::Subprocess;

const std::string peer = KESTROVA_RELOAD_PEER;

class ReloadRequestsTest : public testing::Test {
protected:
    testsupport::ScopedAppGroupDirectory appGroup_;

    [[nodiscard]] std::vector<std::string> filesInAppGroup() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(appGroup_.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ReloadRequestsTest, ARequestOfAProcessThatHasEndedIsSeenByOneThatStartsLater) {
    EXPECT_EQ(Subprocess::run({peer, "count"}).output, "0\n");
    ASSERT_EQ(Subprocess::run({peer, "post", "3"}).exitCode, 0);
    EXPECT_EQ(Subprocess::run({peer, "count"}).output, "3\n");
    EXPECT_EQ(widgetkit::ReloadRequests::count(), 3u);
    // Only the counter and its lock are left behind.
    EXPECT_EQ(filesInAppGroup(), (std::vector<std::string>{"widget-reloads", "widget-reloads.lock"}));
}

TEST_F(ReloadRequestsTest, AWatchingProcessHearsTheRequestsOfAnother) {
    std::vector<std::uint64_t> heard;
    const widgetkit::ReloadRequests::Watcher watcher([&](std::uint64_t count) { heard.push_back(count); });
    ASSERT_EQ(Subprocess::run({peer, "post", "1"}).exitCode, 0);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !heard.empty() && heard.back() == 1; }));
    ASSERT_EQ(Subprocess::run({peer, "post", "2"}).exitCode, 0);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return heard.back() == 3; }));
}

TEST_F(ReloadRequestsTest, RequestsOfSeveralProcessesAtOnceAreAllCounted) {
    std::vector<std::unique_ptr<Subprocess>> peers;
    for (int i = 0; i < 4; ++i) {
        peers.push_back(std::make_unique<Subprocess>(std::vector<std::string>{peer, "post", "40"}));
    }
    for (auto& running : peers) {
        EXPECT_EQ(running->wait().exitCode, 0);
    }
    EXPECT_EQ(widgetkit::ReloadRequests::count(), 160u);
}

TEST_F(ReloadRequestsTest, AnUnreadableCounterCountsAsNoneAndIsReplacedWhole) {
    std::ofstream(widgetkit::ReloadRequests::counterFile()) << "12x\n";
    EXPECT_EQ(widgetkit::ReloadRequests::count(), 0u);
    widgetkit::ReloadRequests::post();
    EXPECT_EQ(widgetkit::ReloadRequests::count(), 1u);
}

TEST_F(ReloadRequestsTest, TheWidgetCenterPostsARequestAndTheHeadlessDesktopRecordsIt) {
    auto& effects = headless::HeadlessBackend::installed().effects();
    effects.clear();
    widgetkit::WidgetCenter::shared().reloadAllTimelines();
    EXPECT_EQ(effects.lines(), std::vector<std::string>{"widget timelines reloaded"});
    EXPECT_EQ(widgetkit::ReloadRequests::count(), 1u);
}

}  // namespace
