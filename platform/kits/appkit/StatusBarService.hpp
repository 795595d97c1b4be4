#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/kits/appkit/StatusItemHost.hpp"

#include <memory>
#include <string_view>

namespace appkit {

// How the installed backend puts items into the desktop's tray.
class StatusBarService : public base::Installable<StatusBarService> {
public:
    static constexpr std::string_view serviceName = "appkit::StatusBarService";

    virtual ~StatusBarService() = default;

    // The tray's thickness in pixels: the size an icon is drawn at.
    [[nodiscard]] virtual double thickness() = 0;
    // Shows `item` until the host is destroyed; the host reads the item's button when told to update.
    virtual std::unique_ptr<StatusItemHost> add(StatusItem& item) = 0;

protected:
    StatusBarService() = default;
};

}  // namespace appkit
