#include "platform/kits/appkit/MenuItem.hpp"

#include "platform/kits/appkit/Menu.hpp"

namespace appkit {

MenuItem::MenuItem(std::string title, Action action, std::string keyEquivalent)
    : title_(std::move(title)), keyEquivalent_(std::move(keyEquivalent)), action_(std::move(action)) {}

void MenuItem::setEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    if (menu_ != nullptr) {
        menu_->changed();
    }
}

void MenuItem::performAction() {
    if (!enabled_ || !action_) {
        return;
    }
    // A copy: the action may replace the menu's items, and with them this item's action.
    const Action action = action_;
    action(*this);
}

}  // namespace appkit
