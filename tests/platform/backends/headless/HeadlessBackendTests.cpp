#include "platform/backends/headless/HeadlessBackend.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(HeadlessBackendTest, TestsRunOnTheHeadlessFakesThatTheirMainInstalledInEveryKit) {
    auto& backend = headless::HeadlessBackend::installed();
    struct Case {
        std::string kit;
        const void* installed;
        const void* fake;
    };
    const std::vector<Case> cases = {
        {"application", &appkit::ApplicationService::installed(), &backend.applicationService()},
        {"windows", &appkit::WindowService::installed(), &backend.windowService()},
        {"dock", &appkit::DockService::installed(), &backend.dockService()},
        {"push", &appkit::PushService::installed(), &backend.pushService()},
        {"status bar", &appkit::StatusBarService::installed(), &backend.statusBarService()},
        {"workspace", &appkit::WorkspaceService::installed(), &backend.workspaceService()},
        {"panels", &appkit::PanelService::installed(), &backend.panelService()},
        {"notifications", &usernotifications::NotificationService::installed(), &backend.notificationService()},
        {"updater", &updater::UpdaterUserDriver::installed(), &backend.updaterUserDriver()},
        {"audio", &avfaudio::AudioOutput::installed(), &backend.audioOutput()},
        {"network", &network::PathService::installed(), &backend.pathService()},
        {"website data", &webkit::WebsiteDataService::installed(), &backend.websiteData()},
        {"web engine", &webkit::WebEngineService::installed(), &backend.webEngine()},
        {"widgets", &widgetkit::TimelineService::installed(), &backend.timelineService()},
        {"windows of views", &ui::WindowRealizer::installed(), &backend.windowRealizer()},
        {"widget board", &widgetkit::WidgetBoard::installed(), &backend.widgetBoard()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.installed, c.fake) << c.kit;
    }
}

TEST(HeadlessBackendTest, ASecondInstallStopsTheProcessNamingTheFault) {
    EXPECT_DEATH(headless::installAll(), "VERIFY\\(.*\\) failed: appkit::ApplicationService is installed already");
}

}  // namespace
