#include "platform/kits/appkit/StatusBarButton.hpp"

#include "platform/kits/appkit/Application.hpp"
#include "platform/kits/appkit/StatusItem.hpp"

namespace appkit {

void StatusBarButton::setMenu(std::shared_ptr<Menu> menu) {
    menu_ = std::move(menu);
    item_.changed();
}

void StatusBarButton::setImage(Pixmap image) {
    image_ = std::move(image);
    item_.changed();
}

void StatusBarButton::click(EventType type) {
    if ((sendMask_ & eventMask(type)) == 0 || !action_) {
        return;
    }
    const Application::EventScope scope(Event{type});
    const Action action = action_;
    action(*this);
}

}  // namespace appkit
