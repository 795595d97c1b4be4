#include "platform/kits/appkit/OpenPanel.hpp"

#include "platform/kits/appkit/PanelService.hpp"

namespace appkit {

void OpenPanel::begin(std::function<void(ModalResponse)> completion) {
    const PanelService::OpenPanelRequest request{canChooseFiles, canChooseDirectories, allowsMultipleSelection};
    PanelService::installed().beginOpenPanel(
        request, [self = shared_from_this(), completion = std::move(completion)](auto chosen) {
            if (!chosen) {
                completion(ModalResponse::cancel);
                return;
            }
            self->urls_ = std::move(*chosen);
            completion(ModalResponse::ok);
        });
}

}  // namespace appkit
