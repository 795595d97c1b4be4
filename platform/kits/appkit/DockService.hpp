#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/kits/appkit/Menu.hpp"

#include <memory>
#include <string_view>

namespace appkit {

// How the installed backend offers the application's own menu where the desktop launches it from
// (the launcher's quicklist on Linux).
class DockService : public base::Installable<DockService> {
public:
    static constexpr std::string_view serviceName = "appkit::DockService";

    virtual ~DockService() = default;

    // Offers `menu` (null: none) and follows its changes from then on.
    virtual void setMenu(std::shared_ptr<Menu> menu) = 0;

protected:
    DockService() = default;
};

}  // namespace appkit
