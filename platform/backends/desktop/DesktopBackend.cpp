#include "platform/backends/desktop/DesktopBackend.hpp"

#include "platform/runtime/base/Installable.hpp"
#include "platform/backends/desktop/DesktopApplicationService.hpp"
#include "platform/backends/desktop/DesktopAudioOutput.hpp"
#include "platform/backends/desktop/DesktopIntentService.hpp"
#include "platform/backends/desktop/DesktopPanelService.hpp"
#include "platform/backends/desktop/DesktopPushService.hpp"
#include "platform/backends/desktop/DesktopUpdaterUserDriver.hpp"
#include "platform/backends/desktop/DesktopWebEngine.hpp"
#include "platform/backends/desktop/DesktopWebsiteData.hpp"
#include "platform/backends/desktop/DesktopWindowRealizer.hpp"
#include "platform/backends/desktop/DesktopWindowService.hpp"
#include "platform/backends/desktop/DesktopWorkspaceService.hpp"
#include "platform/backends/desktop/FreedesktopNotificationService.hpp"
#include "platform/backends/desktop/LauncherEntryService.hpp"
#include "platform/backends/desktop/NetworkMonitorPathService.hpp"
#include "platform/backends/desktop/StatusNotifierService.hpp"
#include "platform/kits/widgetkit/ReloadRequestTimelineService.hpp"

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
    auto& intents = installNew<DesktopIntentService>();
    auto& application = installNew<DesktopApplicationService>(realizer, intents);
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
