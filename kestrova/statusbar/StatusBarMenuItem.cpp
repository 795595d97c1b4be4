#include "kestrova/statusbar/StatusBarMenuItem.hpp"

namespace kestrova {

StatusBarMenuItem::StatusBarMenuItem(std::string title, std::string keyEquivalent, Callback callback)
    : appkit::MenuItem(std::move(title), {}, std::move(keyEquivalent)), callback_(std::move(callback)) {
    setAction([this](appkit::MenuItem& sender) { action(sender); });
}

void StatusBarMenuItem::action(appkit::MenuItem& sender) {
    if (callback_) {
        callback_(sender);
    }
}

}  // namespace kestrova
