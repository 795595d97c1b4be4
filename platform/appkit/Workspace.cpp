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

}  // namespace appkit
