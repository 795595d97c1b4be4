#include "platform/appkit/Workspace.hpp"

#include "platform/appkit/WorkspaceService.hpp"
#include "platform/backend/Backend.hpp"

namespace appkit {

Workspace& Workspace::shared() {
    static Workspace* const workspace = new Workspace;
    return *workspace;
}

bool Workspace::open(const foundation::URL& url) {
    return backend::Backend::installed().workspaceService().open(url);
}

void Workspace::activateFileViewerSelectingURLs(const std::vector<foundation::URL>& urls) {
    backend::Backend::installed().workspaceService().activateFileViewerSelectingURLs(urls);
}

}  // namespace appkit
