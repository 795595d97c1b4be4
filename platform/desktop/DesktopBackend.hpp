#pragma once

#include "platform/backend/Backend.hpp"
#include "platform/desktop/ApplicationIdentity.hpp"
#include "platform/desktop/DesktopApplicationService.hpp"
#include "platform/desktop/DesktopWindowRealizer.hpp"
#include "platform/desktop/DesktopAudioOutput.hpp"
#include "platform/desktop/DesktopPanelService.hpp"
#include "platform/desktop/DesktopTimelineService.hpp"
#include "platform/desktop/DesktopWebEngine.hpp"
#include "platform/desktop/DesktopWebsiteData.hpp"
#include "platform/desktop/DesktopPushService.hpp"
#include "platform/desktop/DesktopUpdaterUserDriver.hpp"
#include "platform/desktop/DesktopWindowService.hpp"
#include "platform/desktop/DesktopWorkspaceService.hpp"
#include "platform/desktop/FreedesktopNotificationService.hpp"
#include "platform/desktop/LauncherEntryService.hpp"
#include "platform/desktop/NetworkMonitorPathService.hpp"
#include "platform/desktop/StatusNotifierService.hpp"

#include <memory>
#include <string>

namespace desktop {

// GTK 3, WebKitGTK and the session bus. Connecting to the display happens
// when the backend is made, so that a program started without one says so
// at once instead of failing later inside a facade.
class DesktopBackend final : public backend::Backend {
public:
    // Throws std::runtime_error when no display can be opened. The identity's .desktop file is what the
    // launcher's quicklist is announced for; its links are opened by the application itself.
    explicit DesktopBackend(ApplicationIdentity identity = {});

    [[nodiscard]] std::string_view name() const noexcept override { return "desktop"; }

    [[nodiscard]] DesktopApplicationService& applicationService() override { return application_; }
    [[nodiscard]] appkit::WindowService& windowService() override { return windows_; }
    [[nodiscard]] appkit::DockService& dockService() override { return dock_; }
    [[nodiscard]] appkit::PushService& pushService() override { return push_; }
    [[nodiscard]] usernotifications::NotificationService& notificationService() override { return notifications_; }
    [[nodiscard]] updater::UpdaterUserDriver& updaterUserDriver() override { return updaterDriver_; }
    [[nodiscard]] appkit::StatusBarService& statusBarService() override { return statusBar_; }
    [[nodiscard]] appkit::WorkspaceService& workspaceService() override { return workspace_; }
    [[nodiscard]] appkit::PanelService& panelService() override { return panels_; }
    [[nodiscard]] avfaudio::AudioOutput& audioOutput() override { return audio_; }
    [[nodiscard]] network::PathService& pathService() override;
    [[nodiscard]] webkit::WebsiteDataService& websiteData() override { return websiteData_; }
    [[nodiscard]] webkit::WebEngineService& webEngine() override { return webEngine_; }
    [[nodiscard]] widgetkit::TimelineService& timelineService() override { return timelines_; }
    [[nodiscard]] DesktopWindowRealizer& windowRealizer() override { return windowRealizer_; }

private:
    DesktopWindowRealizer windowRealizer_;
    DesktopApplicationService application_{windowRealizer_};
    DesktopWindowService windows_{application_};
    LauncherEntryService dock_;
    DesktopPushService push_;
    FreedesktopNotificationService notifications_{"Kestrova", "kestrova"};
    DesktopUpdaterUserDriver updaterDriver_;
    StatusNotifierService statusBar_{"kestrova", "Kestrova"};
    DesktopWorkspaceService workspace_;  // after application_, which it hands the own links
    DesktopPanelService panels_;
    DesktopAudioOutput audio_;
    std::unique_ptr<NetworkMonitorPathService> paths_;
    DesktopWebsiteData websiteData_;
    DesktopWebEngine webEngine_;
    DesktopTimelineService timelines_;
};

}  // namespace desktop
