#include "platform/kits/appkit/Alert.hpp"

#include "platform/kits/appkit/PanelService.hpp"

namespace appkit {

ModalResponse Alert::runModal() {
    PanelService::AlertRequest request{messageText, informativeText, alertStyle, buttons_, std::nullopt};
    if (accessory_) {
        request.textField = PanelService::AlertRequest::TextField{accessory_->width, accessory_->height,
                                                                  accessory_->stringValue};
    }
    const auto answer = PanelService::installed().runAlertModal(request);
    if (accessory_) {
        accessory_->stringValue = answer.fieldText;
    }
    if (answer.buttonIndex < 0 || answer.buttonIndex >= static_cast<int>(buttons_.size())) {
        return ModalResponse::cancel;
    }
    return static_cast<ModalResponse>(static_cast<int>(ModalResponse::alertFirstButtonReturn) + answer.buttonIndex);
}

}  // namespace appkit
