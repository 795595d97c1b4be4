#pragma once

#include "platform/kits/appkit/PanelService.hpp"

namespace desktop {

// Alerts as GTK message dialogs run modally; open and save panels as GTK's native file choosers,
// which go through the desktop portal when there is one.
class DesktopPanelService final : public appkit::PanelService {
public:
    AlertAnswer runAlertModal(const AlertRequest& request) override;
    void beginOpenPanel(const OpenPanelRequest& request, OpenPanelHandler completion) override;
    void beginSavePanel(const SavePanelRequest& request, SavePanelHandler completion) override;
};

}  // namespace desktop
