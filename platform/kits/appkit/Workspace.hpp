#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

#include <vector>

namespace appkit {

// The desktop around the application: opens URLs with their default handlers.
class Workspace {
public:
    static Workspace& shared();

    // Hands the URL to the handler of its scheme (a web page to the default browser, a "kestrova:"
    // link back to the application) and returns at once; whether a handler took it.
    bool open(const foundation::URL& url);
    // Shows the files in the file manager, selected; returns at once.
    void activateFileViewerSelectingURLs(const std::vector<foundation::URL>& urls);

    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

private:
    Workspace() = default;
};

}  // namespace appkit
