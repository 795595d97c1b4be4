#include "kestrova/web/DownloadSaver.hpp"

#include "platform/kits/appkit/SavePanel.hpp"
#include "platform/runtime/foundation/core/FileManager.hpp"
#include "platform/runtime/foundation/core/FileManagerError.hpp"
#include "platform/kits/usernotifications/UserNotificationCenter.hpp"

#include <cstdio>
#include <filesystem>
#include <string>

namespace kestrova {

void DownloadSaver::decideDestination(webkit::Download& /*download*/, const std::string& suggestedFilename,
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

void DownloadSaver::didFail(webkit::Download& /*download*/, const webkit::DownloadError& error) {
    const std::string lines = "Download failed:\n" + error.description() + "\n" + error.localizedDescription + "\n";
    std::fputs(lines.c_str(), stdout);
    std::fflush(stdout);
}

void DownloadSaver::didFinish(webkit::Download& /*download*/, const foundation::URL& file) {
    // A download may take long after its panel closed; the desktop's notifications are where a person
    // looks for its end. The application's delegate reveals a clicked notification's "fileURL", from
    // the notification itself as from its action.
    usernotifications::NotificationRequest request;
    request.identifier = file.absoluteString();
    request.content.title = "Download finished";
    request.content.body = std::filesystem::path(file.path()).filename().string();
    request.content.userInfo = {{"fileURL", file.absoluteString()}};
    request.content.actions = {{showInFolderAction, "Show in folder"}};
    usernotifications::UserNotificationCenter::current().add(request);
}

}  // namespace kestrova
