#pragma once

#include "platform/appkit/Menu.hpp"

#include <memory>

namespace appkit {

// How the installed backend offers the application's own menu where the desktop launches it from
// (the launcher's quicklist on Linux).
class DockService {
public:
    virtual ~DockService() = default;

    // Offers `menu` (null: none) and follows its changes from then on.
    virtual void setMenu(std::shared_ptr<Menu> menu) = 0;

protected:
    DockService() = default;
};

}  // namespace appkit
