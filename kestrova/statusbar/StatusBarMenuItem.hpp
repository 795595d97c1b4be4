#pragma once

#include "platform/kits/appkit/MenuItem.hpp"

#include <functional>
#include <string>

namespace kestrova {

// A menu item that is its own target: choosing it calls `callback` with the item.
class StatusBarMenuItem : public appkit::MenuItem {
public:
    using Callback = std::function<void(appkit::MenuItem&)>;

    StatusBarMenuItem(std::string title, std::string keyEquivalent, Callback callback);

    // What choosing the item calls.
    void action(appkit::MenuItem& sender);

private:
    Callback callback_;
};

}  // namespace kestrova
