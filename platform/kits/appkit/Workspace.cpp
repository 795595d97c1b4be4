#include "platform/kits/appkit/Workspace.hpp"

#include "platform/kits/appkit/WorkspaceService.hpp"

namespace appkit {

Workspace& Workspace::shared() {
    static Workspace* const workspace = new Workspace;
    return *workspace;
}

bool Workspace::open(const foundation::URL& url) {
    return WorkspaceService::installed().open(url);
}

void Workspace::activateFileViewerSelectingURLs(const std::vector<foundation::URL>& urls) {
    WorkspaceService::installed().activateFileViewerSelectingURLs(urls);
}

}  // namespace appkit
