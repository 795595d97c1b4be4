#pragma once

#include "platform/kits/appkit/StatusBarService.hpp"
#include "platform/kits/appkit/StatusItem.hpp"

#include <memory>

namespace appkit {

// The desktop's tray. Used on the main thread.
class StatusBar {
public:
    // The tray of the installed backend.
    static StatusBar& system();
    // A tray over one particular service (a backend's own tests).
    explicit StatusBar(StatusBarService& service) : service_(&service) {}

    // A new item, shown at once.
    [[nodiscard]] std::shared_ptr<StatusItem> statusItem(double length);
    // Takes the item out of the tray; it has no button from then on.
    void removeStatusItem(const std::shared_ptr<StatusItem>& item);
    [[nodiscard]] double thickness() const;

    StatusBar(const StatusBar&) = delete;
    StatusBar& operator=(const StatusBar&) = delete;

private:
    StatusBar() = default;
    [[nodiscard]] StatusBarService& service() const;

    StatusBarService* service_ = nullptr;
};

}  // namespace appkit
