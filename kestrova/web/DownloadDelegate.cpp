#include "kestrova/web/DownloadDelegate.hpp"

#include "platform/appkit/SavePanel.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/FileManagerError.hpp"

#include <cstdio>
#include <string>

namespace kestrova {

void WebWrapperView::Coordinator::DownloadDelegate::decideDestination(webkit::Download& /*download*/,
                                                                      const std::string& suggestedFilename,
                                                                      DestinationHandler completion) {
    auto panel = appkit::SavePanel::make();
    panel->canCreateDirectories = true;
    panel->nameFieldStringValue = suggestedFilename;
    try {
        panel->directoryURL = foundation::FileManager::defaultManager().downloadsDirectory();
    } catch (const foundation::FileManagerError&) {
        // The panel opens where the desktop chooses.
    }
    panel->begin([weak = weak_from_this(), panel, completion = std::move(completion)](appkit::ModalResponse response) {
        const auto& chosen = panel->url();
        if (response != appkit::ModalResponse::ok || !chosen) {
            // Also an OK without a file: the engine must hear an answer, and none cancels.
            completion(std::nullopt);
            return;
        }
        if (const auto self = weak.lock()) {
            self->filePathDestination = chosen;
        }
        completion(chosen);
    });
}

void WebWrapperView::Coordinator::DownloadDelegate::didFail(webkit::Download& /*download*/,
                                                            const webkit::DownloadError& error) {
    const std::string lines = "Download failed:\n" + error.description() + "\n" + error.localizedDescription + "\n";
    std::fputs(lines.c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace kestrova
