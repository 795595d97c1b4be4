#include "platform/desktop/DesktopBackend.hpp"

#include "platform/base/Installable.hpp"
#include "platform/desktop/DesktopApplicationService.hpp"
#include "platform/desktop/DesktopAudioOutput.hpp"
#include "platform/desktop/DesktopPanelService.hpp"
#include "platform/desktop/DesktopPushService.hpp"
#include "platform/desktop/DesktopUpdaterUserDriver.hpp"
#include "platform/desktop/DesktopWebEngine.hpp"
#include "platform/desktop/DesktopWebsiteData.hpp"
#include "platform/desktop/DesktopWindowRealizer.hpp"
#include "platform/desktop/DesktopWindowService.hpp"
#include "platform/desktop/DesktopWorkspaceService.hpp"
#include "platform/desktop/FreedesktopNotificationService.hpp"
#include "platform/desktop/LauncherEntryService.hpp"
#include "platform/desktop/NetworkMonitorPathService.hpp"
#include "platform/desktop/StatusNotifierService.hpp"
#include "platform/widgetkit/ReloadRequestTimelineService.hpp"

#include <gtk/gtk.h>

#include <stdexcept>
#include <utility>

namespace desktop {

void installAll(ApplicationIdentity identity) {
    if (gtk_init_check(nullptr, nullptr) == FALSE) {
        throw std::runtime_error("cannot open the display: is DISPLAY or WAYLAND_DISPLAY set?");
    }
    using base::installNew;
    auto& realizer = installNew<DesktopWindowRealizer>();
    auto& application = installNew<DesktopApplicationService>(realizer);
    installNew<DesktopWindowService>(application);
    installNew<LauncherEntryService>(identity.desktopFileId());
    installNew<DesktopPushService>();
    installNew<FreedesktopNotificationService>("Kestrova", "kestrova");
    installNew<DesktopUpdaterUserDriver>();
    installNew<StatusNotifierService>("kestrova", "Kestrova");
    installNew<DesktopWorkspaceService>(application, std::move(identity));
    installNew<DesktopPanelService>();
    installNew<DesktopAudioOutput>();
    // Made here, on the main thread, so that the monitor's changes arrive through the main loop.
    installNew<NetworkMonitorPathService>();
    installNew<DesktopWebsiteData>();
    installNew<DesktopWebEngine>();
    installNew<widgetkit::ReloadRequestTimelineService>("kestrova");
}

}  // namespace desktop
