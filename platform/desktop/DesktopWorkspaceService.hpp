#pragma once

#include "platform/appkit/WorkspaceService.hpp"

namespace desktop {

// Hands URLs to GIO's default handler of their scheme: the user's browser for web pages, the
// application itself for its "kestrova:" links (through its desktop file). Files are revealed through
// the file manager's org.freedesktop.FileManager1 interface; without a file manager on the bus the
// folder of the first file is opened instead.
class DesktopWorkspaceService final : public appkit::WorkspaceService {
public:
    bool open(const foundation::URL& url) override;
    void activateFileViewerSelectingURLs(const std::vector<foundation::URL>& urls) override;
};

}  // namespace desktop
