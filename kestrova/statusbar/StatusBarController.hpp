#pragma once

#include "kestrova/statusbar/StatusItemMenu.hpp"
#include "platform/kits/appkit/StatusBarButton.hpp"
#include "platform/kits/appkit/StatusItem.hpp"
#include "platform/runtime/base/WeakSelf.hpp"
#include "platform/runtime/combine/AnyCancellable.hpp"

#include <memory>
#include <optional>

namespace kestrova {

// Shows the tray item while the "statusBarIcon" setting is on: a fresh item each time it turns on,
// always with the same menu. A left click brings the application forward, a right click opens the
// menu. Made once at launch; used on the main thread.
class StatusBarController {
public:
    StatusBarController();
    virtual ~StatusBarController() = default;
    StatusBarController(const StatusBarController&) = delete;
    StatusBarController& operator=(const StatusBarController&) = delete;

    // The item while the setting is on, else null.
    [[nodiscard]] const std::shared_ptr<appkit::StatusItem>& statusItem() const noexcept { return statusItem_; }
    // Made on first use, then kept.
    [[nodiscard]] const std::shared_ptr<StatusItemMenu>& statusItemMenu();

    virtual void createStatusItem();
    // Draws the item's icon again from the state as it is now.
    void redrawIcon();
    // The button's action, on the release of either mouse button.
    virtual void onStatusBarClick(appkit::StatusBarButton& sender);

private:
    std::shared_ptr<appkit::StatusItem> statusItem_;
    std::shared_ptr<StatusItemMenu> statusItemMenu_;
    std::optional<combine::AnyCancellable> cancellable_;
    std::optional<combine::AnyCancellable> stateChanges_;
    // Several changes in one turn of the main loop make one redraw.
    bool redrawPending_ = false;
    // Lets a redraw queued on the main loop find out that the controller is gone.
    base::WeakSelf<StatusBarController> self_{this};
};

}  // namespace kestrova
