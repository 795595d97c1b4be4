#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <string_view>
#include <vector>

namespace appkit {

// How the installed backend hands a URL to the desktop.
class WorkspaceService : public base::Installable<WorkspaceService> {
public:
    static constexpr std::string_view serviceName = "appkit::WorkspaceService";

    virtual ~WorkspaceService() = default;

    // Opens the URL with the desktop's handler of its scheme; whether a handler took it.
    virtual bool open(const foundation::URL& url) = 0;
    // Shows the files selected in the file manager.
    virtual void activateFileViewerSelectingURLs(const std::vector<foundation::URL>& urls) = 0;

protected:
    WorkspaceService() = default;
};

}  // namespace appkit
