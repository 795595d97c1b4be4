#pragma once

#include "platform/kits/appkit/Menu.hpp"

namespace desktop {

// Shows `menu` as a GTK menu where the pointer is, for a panel that cannot show a tray item's
// exported menu itself and asks the item to. Choosing an entry performs its item's action; the menu
// is gone once it closes. Does nothing without a display. Main thread only.
void popUpMenuAtPointer(const appkit::Menu& menu);

}  // namespace desktop
