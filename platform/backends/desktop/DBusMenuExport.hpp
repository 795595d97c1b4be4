#pragma once

#include "platform/kits/appkit/Menu.hpp"

#include <cstddef>
#include <memory>
#include <string>

typedef struct _DbusmenuServer DbusmenuServer;

namespace desktop {

// One menu on the session bus under `objectPath`, in the D-Bus menu protocol (com.canonical.dbusmenu)
// that panels and launchers read. The items follow the menu's changes; choosing one on the other
// side performs the item's action on the main thread. Used on the main thread.
class DBusMenuExport {
public:
    DBusMenuExport(std::string objectPath, std::shared_ptr<appkit::Menu> menu);
    ~DBusMenuExport();
    DBusMenuExport(const DBusMenuExport&) = delete;
    DBusMenuExport& operator=(const DBusMenuExport&) = delete;

    [[nodiscard]] const std::string& objectPath() const noexcept { return objectPath_; }
    [[nodiscard]] const std::shared_ptr<appkit::Menu>& menu() const noexcept { return menu_; }

private:
    void rebuild();
    void scheduleRebuild();

    std::string objectPath_;
    std::shared_ptr<appkit::Menu> menu_;
    DbusmenuServer* server_ = nullptr;
    std::size_t listener_ = 0;
    unsigned pendingRebuild_ = 0;
};

}  // namespace desktop
