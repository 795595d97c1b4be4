#pragma once

#include "platform/kits/appkit/Menu.hpp"

#include <functional>

namespace kestrova {

// The tray item's right-click menu: "Quit Kestrova" and nothing else.
class StatusItemMenu : public appkit::Menu {
public:
    explicit StatusItemMenu(std::function<void()> quit);
};

}  // namespace kestrova
