#include "platform/kits/appkit/StatusItem.hpp"

namespace appkit {

StatusItem::StatusItem(double length) : length_(length), button_(*this) {}

StatusItem::~StatusItem() {
    remove();
}

void StatusItem::popUpMenu(Menu& menu) {
    if (host_) {
        host_->popUpMenu(menu);
    }
}

void StatusItem::changed() {
    // Follow the menu that the button shows, so that a change of its items reaches the tray.
    if (shownMenu_ != button_.menu_) {
        if (shownMenu_) {
            shownMenu_->removeChangeListener(menuListener_);
        }
        shownMenu_ = button_.menu_;
        if (shownMenu_) {
            menuListener_ = shownMenu_->addChangeListener([this] {
                if (host_) {
                    host_->update();
                }
            });
        }
    }
    if (host_) {
        host_->update();
    }
}

void StatusItem::remove() {
    if (shownMenu_) {
        shownMenu_->removeChangeListener(menuListener_);
        shownMenu_.reset();
    }
    host_.reset();
}

}  // namespace appkit
