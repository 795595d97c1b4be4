#include "kestrova/updater/UpdaterViewModel.hpp"

#include "platform/backends/headless/HeadlessBackend.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace kestrova {
namespace {

using testsupport::MainLoop;

constexpr const char* upToDateFeed =
    R"(<rss><channel><item><sparkle:version>0.0.1</sparkle:version><enclosure url="https://kestrova.example/old.tar.gz"/></item></channel></rss>)";

TEST(UpdaterViewModelTest, AsDeployedByDefaultThereIsNoFeedAndACheckCanNeverBegin) {
    const UpdaterViewModel model;
    EXPECT_FALSE(model.canCheckForUpdates.get());
    EXPECT_FALSE(deployedUpdaterConfiguration().feedURL.has_value());
    EXPECT_FALSE(deployedUpdaterConfiguration().currentVersion.empty());
}

TEST(UpdaterViewModelTest, TheModelFollowsTheUpdaterAtOnce) {
    testsupport::LoopbackServer server;
    server.reply("GET", "/appcast.xml", {.status = 200, .body = upToDateFeed});
    headless::HeadlessBackend::installed().effects().clear();
    UpdaterViewModel model({foundation::URL::fromString(server.url("/appcast.xml")), std::chrono::hours(24), "1.0"});
    // The check at start runs: none may begin.
    EXPECT_FALSE(model.canCheckForUpdates.get());
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return model.canCheckForUpdates.get(); }));

    std::vector<bool> heard;
    auto subscription = model.canCheckForUpdates.publisher().sink([&](const bool& can) { heard.push_back(can); });
    model.updaterController.checkForUpdates();
    EXPECT_FALSE(model.canCheckForUpdates.get());  // the item is disabled at once
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return model.canCheckForUpdates.get(); }));
    EXPECT_EQ(heard, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(headless::HeadlessBackend::installed().effects().linesStartingWith("updater: "),
              std::vector<std::string>{"updater: up to date 1.0"});
}

}  // namespace
}  // namespace kestrova
