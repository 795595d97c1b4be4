#pragma once

#include "platform/kits/appkit/Event.hpp"
#include "platform/kits/appkit/Menu.hpp"
#include "platform/kits/appkit/Pixmap.hpp"

#include <functional>
#include <memory>

namespace appkit {

class StatusItem;

// The clickable face of a tray item: its image, its menu and what a click does. Used on the main
// thread.
class StatusBarButton {
public:
    using Action = std::function<void(StatusBarButton& sender)>;

    [[nodiscard]] std::shared_ptr<Menu> menu() const { return menu_; }
    void setMenu(std::shared_ptr<Menu> menu);

    [[nodiscard]] const Pixmap& image() const noexcept { return image_; }
    void setImage(Pixmap image);

    void setAction(Action action) { action_ = std::move(action); }
    // The mouse-up events that send the action; by default only the left button's.
    void sendActionOn(EventMask mask) noexcept { sendMask_ = mask; }

    // A click that ended with `type`: sends the action, with that event as the application's current
    // event, when the mask includes it.
    void click(EventType type);

    StatusBarButton(const StatusBarButton&) = delete;
    StatusBarButton& operator=(const StatusBarButton&) = delete;

private:
    friend class StatusItem;
    explicit StatusBarButton(StatusItem& item) : item_(item) {}

    StatusItem& item_;
    std::shared_ptr<Menu> menu_;
    Pixmap image_;
    Action action_;
    EventMask sendMask_ = eventMask(EventType::leftMouseUp);
};

}  // namespace appkit
