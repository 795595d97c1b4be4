#pragma once

#include <memory>
#include <string_view>

namespace appkit {
class PanelService;
class ApplicationService;
class DockService;
class PushService;
class StatusBarService;
class WindowService;
class WorkspaceService;
}  // namespace appkit
namespace updater {
class UpdaterUserDriver;
}
namespace usernotifications {
class NotificationService;
}
namespace avfaudio {
class AudioOutput;
}
namespace network {
class PathService;
}
namespace webkit {
class WebEngineService;
class WebsiteDataService;
}
namespace widgetkit {
class TimelineService;
}
namespace ui {
class WindowRealizer;
}

namespace backend {

// What a desktop session provides (windows, a web engine, a tray, the
// notification server, audio output, the network monitor) comes from one
// backend per process: the headless one that tests drive, or the desktop one
// on GTK, WebKitGTK and the session bus. Each framework's facade asks the
// installed backend for its implementation, so system code never knows which
// one runs.
//
// main() installs exactly one backend before anything uses a facade; it lives
// until the process ends.
class Backend {
public:
    virtual ~Backend() = default;
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;

    // "headless" or "desktop", for diagnostics.
    [[nodiscard]] virtual std::string_view name() const noexcept = 0;

    // Each framework's implementation, made with the backend and kept as long as it.
    [[nodiscard]] virtual appkit::ApplicationService& applicationService() = 0;
    [[nodiscard]] virtual appkit::WindowService& windowService() = 0;
    [[nodiscard]] virtual appkit::DockService& dockService() = 0;
    [[nodiscard]] virtual appkit::PushService& pushService() = 0;
    [[nodiscard]] virtual usernotifications::NotificationService& notificationService() = 0;
    [[nodiscard]] virtual updater::UpdaterUserDriver& updaterUserDriver() = 0;
    [[nodiscard]] virtual appkit::StatusBarService& statusBarService() = 0;
    [[nodiscard]] virtual appkit::WorkspaceService& workspaceService() = 0;
    [[nodiscard]] virtual appkit::PanelService& panelService() = 0;
    [[nodiscard]] virtual avfaudio::AudioOutput& audioOutput() = 0;
    [[nodiscard]] virtual network::PathService& pathService() = 0;
    [[nodiscard]] virtual webkit::WebsiteDataService& websiteData() = 0;
    [[nodiscard]] virtual webkit::WebEngineService& webEngine() = 0;
    [[nodiscard]] virtual widgetkit::TimelineService& timelineService() = 0;

    // Shows view trees in windows.
    [[nodiscard]] virtual ui::WindowRealizer& windowRealizer() = 0;

    // Installing a second backend, or none, is a fault of main().
    static void install(std::unique_ptr<Backend> backend);
    // The installed backend; asking before install() is a fault.
    [[nodiscard]] static Backend& installed();

protected:
    Backend() = default;
};

}  // namespace backend
