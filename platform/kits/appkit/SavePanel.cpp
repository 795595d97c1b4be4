#include "platform/kits/appkit/SavePanel.hpp"

#include "platform/kits/appkit/PanelService.hpp"

namespace appkit {

void SavePanel::begin(std::function<void(ModalResponse)> completion) {
    const PanelService::SavePanelRequest request{canCreateDirectories, nameFieldStringValue, directoryURL};
    PanelService::installed().beginSavePanel(
        request, [self = shared_from_this(), completion = std::move(completion)](auto chosen) {
            if (!chosen) {
                completion(ModalResponse::cancel);
                return;
            }
            self->url_ = std::move(*chosen);
            completion(ModalResponse::ok);
        });
}

}  // namespace appkit
