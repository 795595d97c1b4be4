#pragma once

#include "platform/kits/appkit/WorkspaceService.hpp"
#include "platform/backends/desktop/ApplicationIdentity.hpp"

namespace desktop {

class DesktopApplicationService;

// Hands URLs to GIO's default handler of their scheme: the user's browser for web pages. The
// application's own links never leave it when it runs in this process: they go straight to its link
// handling. From any other process they go to the running application over the session bus
// (org.freedesktop.Application.Open, which also starts it where it is installed for D-Bus
// activation), and only when nothing answers there to the desktop's handler of the scheme. Files are
// revealed through the file manager's org.freedesktop.FileManager1 interface; without a file manager
// on the bus the folder of the first file is opened instead.
class DesktopWorkspaceService final : public appkit::WorkspaceService {
public:
    DesktopWorkspaceService(DesktopApplicationService& application, ApplicationIdentity identity)
        : application_(application), identity_(std::move(identity)) {}

    bool open(const foundation::URL& url) override;
    void activateFileViewerSelectingURLs(const std::vector<foundation::URL>& urls) override;

private:
    void openInRunningApplication(const foundation::URL& url) const;

    DesktopApplicationService& application_;
    ApplicationIdentity identity_;
};

}  // namespace desktop
