#pragma once

#include "platform/backend/Backend.hpp"
#include "platform/headless/HeadlessApplicationService.hpp"
#include "platform/headless/HeadlessWindowRealizer.hpp"
#include "platform/headless/HeadlessAudioOutput.hpp"
#include "platform/headless/HeadlessDockService.hpp"
#include "platform/headless/HeadlessEffects.hpp"
#include "platform/headless/HeadlessPanelService.hpp"
#include "platform/headless/HeadlessNotificationService.hpp"
#include "platform/headless/HeadlessPathService.hpp"
#include "platform/headless/HeadlessPushService.hpp"
#include "platform/headless/HeadlessStatusBarService.hpp"
#include "platform/headless/HeadlessTimelineService.hpp"
#include "platform/headless/HeadlessWebEngine.hpp"
#include "platform/headless/HeadlessUpdaterUserDriver.hpp"
#include "platform/headless/HeadlessWebsiteData.hpp"
#include "platform/headless/HeadlessWindowService.hpp"
#include "platform/headless/HeadlessWorkspaceService.hpp"

namespace headless {

// In-process and deterministic: nothing reaches a display or the session
// bus. Tests install it and drive what a desktop session would do; what it
// did in place of a desktop is in effects(). Sounds are decoded for real,
// and widget reload requests are real files in the app-group directory.
class HeadlessBackend final : public backend::Backend {
public:
    HeadlessBackend();

    [[nodiscard]] std::string_view name() const noexcept override { return "headless"; }

    [[nodiscard]] HeadlessApplicationService& applicationService() override { return application_; }
    [[nodiscard]] HeadlessWindowService& windowService() override { return windows_; }
    [[nodiscard]] HeadlessDockService& dockService() override { return dock_; }
    [[nodiscard]] HeadlessPushService& pushService() override { return push_; }
    [[nodiscard]] HeadlessNotificationService& notificationService() override { return notifications_; }
    [[nodiscard]] HeadlessUpdaterUserDriver& updaterUserDriver() override { return updaterDriver_; }
    [[nodiscard]] HeadlessStatusBarService& statusBarService() override { return statusBar_; }
    [[nodiscard]] HeadlessWorkspaceService& workspaceService() override { return workspace_; }
    [[nodiscard]] HeadlessPanelService& panelService() override { return panels_; }
    [[nodiscard]] HeadlessAudioOutput& audioOutput() override { return audio_; }
    [[nodiscard]] HeadlessPathService& pathService() override { return paths_; }
    [[nodiscard]] HeadlessWebsiteData& websiteData() override { return websiteData_; }
    [[nodiscard]] HeadlessWebEngine& webEngine() override { return webEngine_; }
    [[nodiscard]] HeadlessTimelineService& timelineService() override { return timelines_; }
    [[nodiscard]] HeadlessWindowRealizer& windowRealizer() override { return windowRealizer_; }

    [[nodiscard]] HeadlessEffects& effects() noexcept { return effects_; }

    // The installed backend, which must be this one.
    static HeadlessBackend& installed();

private:
    HeadlessEffects effects_;
    HeadlessApplicationService application_;
    HeadlessWindowService windows_;
    HeadlessDockService dock_;
    HeadlessPushService push_;
    HeadlessNotificationService notifications_;
    HeadlessUpdaterUserDriver updaterDriver_;
    HeadlessStatusBarService statusBar_;
    HeadlessWorkspaceService workspace_;
    HeadlessPanelService panels_;
    HeadlessAudioOutput audio_;
    HeadlessPathService paths_;
    HeadlessWebsiteData websiteData_;
    HeadlessWebEngine webEngine_;
    HeadlessTimelineService timelines_;
    HeadlessWindowRealizer windowRealizer_;
};

}  // namespace headless
