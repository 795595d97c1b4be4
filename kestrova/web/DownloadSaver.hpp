#pragma once

#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/webkit/DownloadDelegate.hpp"

#include <memory>
#include <optional>

namespace kestrova {

// Asks the user where each download of a window's web view goes, with a save panel in the Downloads
// folder that proposes the server's file name, prints a failed download, and says with a
// notification that a download finished. One per web view coordinator, shared by all its
// downloads; main thread only.
class DownloadSaver final : public webkit::DownloadDelegate, public std::enable_shared_from_this<DownloadSaver> {
public:
    DownloadSaver() = default;

    // Where the latest save panel that ended with OK put its download; nothing else reads it.
    std::optional<foundation::URL> filePathDestination;

    void decideDestination(webkit::Download& download, const std::string& suggestedFilename,
                           DestinationHandler completion) override;
    // Prints "Download failed:", the error and its message, each on a line of its own.
    void didFail(webkit::Download& download, const webkit::DownloadError& error) override;
    // Posts "Download finished" with the file's name, which reveals the file in the file manager
    // when clicked or through its action "Show in folder".
    void didFinish(webkit::Download& download, const foundation::URL& file) override;

    // The identifier of the notification's action that reveals the file.
    static constexpr const char* showInFolderAction = "show-in-folder";
};

}  // namespace kestrova
