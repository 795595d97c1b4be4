#include "platform/desktop/NetworkMonitorPathService.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using network::Path;

TEST(NetworkMonitorPathServiceTest, TheMachinesNetworkIsReportedAtOnceOnSubscribing) {
    desktop::NetworkMonitorPathService service;
    std::vector<Path> heard;
    auto subscription = service.subscribe([&](const Path& path) { heard.push_back(path); });
    EXPECT_EQ(heard.size(), 1u);
    subscription.cancel();
}

}  // namespace
