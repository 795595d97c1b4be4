#pragma once

#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/webkit/DownloadError.hpp"

#include <functional>
#include <optional>
#include <string>

namespace webkit {

class Download;

// Decides where a download is written and hears when one fails or finishes. Called on the main
// thread.
class DownloadDelegate {
public:
    using DestinationHandler = std::function<void(std::optional<foundation::URL>)>;

    virtual ~DownloadDelegate() = default;

    // Answer a file URL to write to, or none to cancel the download; the answer may come later.
    virtual void decideDestination(Download& download, const std::string& suggestedFilename,
                                   DestinationHandler completion) = 0;
    virtual void didFail(Download& download, const DownloadError& error) = 0;
    // The whole file is written at `file`, the destination the delegate answered. Optional.
    virtual void didFinish(Download& /*download*/, const foundation::URL& /*file*/) {}

protected:
    DownloadDelegate() = default;
    DownloadDelegate(const DownloadDelegate&) = default;
    DownloadDelegate& operator=(const DownloadDelegate&) = default;
};

}  // namespace webkit
