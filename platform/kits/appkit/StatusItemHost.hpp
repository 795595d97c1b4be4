#pragma once

namespace appkit {

class Menu;
class StatusItem;

// The installed backend's side of one tray item: shows it while it exists and takes it away when
// destroyed.
class StatusItemHost {
public:
    virtual ~StatusItemHost() = default;

    // The item's image or menu changed (or the menu's items did): show the new state.
    virtual void update() = 0;
    virtual void popUpMenu(Menu& menu) = 0;

protected:
    StatusItemHost() = default;
};

}  // namespace appkit
