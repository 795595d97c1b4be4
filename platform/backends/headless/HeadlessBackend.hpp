#pragma once

#include "platform/backends/headless/HeadlessApplicationService.hpp"
#include "platform/backends/headless/HeadlessAudioOutput.hpp"
#include "platform/backends/headless/HeadlessDockService.hpp"
#include "platform/backends/headless/HeadlessEffects.hpp"
#include "platform/backends/headless/HeadlessIntentService.hpp"
#include "platform/backends/headless/HeadlessNotificationService.hpp"
#include "platform/backends/headless/HeadlessPanelService.hpp"
#include "platform/backends/headless/HeadlessPathService.hpp"
#include "platform/backends/headless/HeadlessPushService.hpp"
#include "platform/backends/headless/HeadlessStatusBarService.hpp"
#include "platform/backends/headless/HeadlessTimelineService.hpp"
#include "platform/backends/headless/HeadlessUpdaterUserDriver.hpp"
#include "platform/backends/headless/HeadlessWebEngine.hpp"
#include "platform/backends/headless/HeadlessWebsiteData.hpp"
#include "platform/backends/headless/HeadlessWidgetBoard.hpp"
#include "platform/backends/headless/HeadlessWindowRealizer.hpp"
#include "platform/backends/headless/HeadlessWindowService.hpp"
#include "platform/backends/headless/HeadlessWorkspaceService.hpp"

namespace headless {

// In-process and deterministic: nothing reaches a display or the session bus. installAll() puts a
// fake in every kit, and tests drive through this what a desktop session would do; what the fakes
// did in place of a desktop is in effects(). Sounds are decoded for real, and widget reload
// requests are real files in the app-group directory.
class HeadlessBackend final {
public:
    HeadlessBackend(const HeadlessBackend&) = delete;
    HeadlessBackend& operator=(const HeadlessBackend&) = delete;

    [[nodiscard]] HeadlessApplicationService& applicationService() noexcept { return application_; }
    [[nodiscard]] HeadlessWindowService& windowService() noexcept { return windows_; }
    [[nodiscard]] HeadlessDockService& dockService() noexcept { return dock_; }
    [[nodiscard]] HeadlessPushService& pushService() noexcept { return push_; }
    [[nodiscard]] HeadlessNotificationService& notificationService() noexcept { return notifications_; }
    [[nodiscard]] HeadlessUpdaterUserDriver& updaterUserDriver() noexcept { return updaterDriver_; }
    [[nodiscard]] HeadlessStatusBarService& statusBarService() noexcept { return statusBar_; }
    [[nodiscard]] HeadlessWorkspaceService& workspaceService() noexcept { return workspace_; }
    [[nodiscard]] HeadlessPanelService& panelService() noexcept { return panels_; }
    [[nodiscard]] HeadlessAudioOutput& audioOutput() noexcept { return audio_; }
    [[nodiscard]] HeadlessPathService& pathService() noexcept { return paths_; }
    [[nodiscard]] HeadlessWebsiteData& websiteData() noexcept { return websiteData_; }
    [[nodiscard]] HeadlessWebEngine& webEngine() noexcept { return webEngine_; }
    [[nodiscard]] HeadlessTimelineService& timelineService() noexcept { return timelines_; }
    [[nodiscard]] HeadlessWindowRealizer& windowRealizer() noexcept { return windowRealizer_; }
    [[nodiscard]] HeadlessWidgetBoard& widgetBoard() noexcept { return widgetBoard_; }
    [[nodiscard]] HeadlessIntentService& intentService() noexcept { return intents_; }

    [[nodiscard]] HeadlessEffects& effects() noexcept { return effects_; }

    // What installAll() installed; asking before it ran is a fault.
    [[nodiscard]] static HeadlessBackend& installed();

private:
    friend HeadlessBackend& installAll();
    HeadlessBackend();

    // Before the fakes, which record into it.
    HeadlessEffects effects_;
    // Each owned by its kit.
    HeadlessApplicationService& application_;
    HeadlessWindowService& windows_;
    HeadlessDockService& dock_;
    HeadlessPushService& push_;
    HeadlessNotificationService& notifications_;
    HeadlessUpdaterUserDriver& updaterDriver_;
    HeadlessStatusBarService& statusBar_;
    HeadlessWorkspaceService& workspace_;
    HeadlessPanelService& panels_;
    HeadlessAudioOutput& audio_;
    HeadlessPathService& paths_;
    HeadlessWebsiteData& websiteData_;
    HeadlessWebEngine& webEngine_;
    HeadlessTimelineService& timelines_;
    HeadlessWindowRealizer& windowRealizer_;
    HeadlessWidgetBoard& widgetBoard_;
    HeadlessIntentService& intents_;
};

// Installs a headless fake in every kit, once per process before anything uses a facade (a second
// call is a fault); the backend that drives them lives until the process ends.
HeadlessBackend& installAll();

}  // namespace headless
