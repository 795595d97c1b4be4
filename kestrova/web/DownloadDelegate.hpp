#pragma once

#include "platform/webkit/DownloadDelegate.hpp"
#include "kestrova/web/WebWrapperViewCoordinator.hpp"

#include <memory>
#include <optional>

namespace kestrova {

// Asks the user where each download of a window's web view goes, with a save panel in the Downloads
// folder that proposes the server's file name, and prints a failed download. One per coordinator,
// shared by all its downloads; main thread only.
class WebWrapperView::Coordinator::DownloadDelegate final
    : public webkit::DownloadDelegate,
      public std::enable_shared_from_this<WebWrapperView::Coordinator::DownloadDelegate> {
public:
    DownloadDelegate() = default;

    // Where the latest save panel that ended with OK put its download; nothing else reads it.
    std::optional<foundation::URL> filePathDestination;

    void decideDestination(webkit::Download& download, const std::string& suggestedFilename,
                           DestinationHandler completion) override;
    // Prints "Download failed:", the error and its message, each on a line of its own.
    void didFail(webkit::Download& download, const webkit::DownloadError& error) override;
};

}  // namespace kestrova
