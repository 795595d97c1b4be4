#pragma once

#include "platform/kits/appkit/StatusBarButton.hpp"
#include "platform/kits/appkit/StatusItemHost.hpp"

#include <memory>

namespace appkit {

// One item in the desktop's tray, from StatusBar::statusItem() until StatusBar::removeStatusItem().
// Used on the main thread.
class StatusItem {
public:
    // The length that makes the item as wide as the bar is thick.
    static constexpr double squareLength = -2;

    ~StatusItem();
    StatusItem(const StatusItem&) = delete;
    StatusItem& operator=(const StatusItem&) = delete;

    [[nodiscard]] double length() const noexcept { return length_; }
    // Every item has a button; null only once the item was removed from the bar.
    [[nodiscard]] StatusBarButton* button() noexcept { return isVisible() ? &button_ : nullptr; }
    [[nodiscard]] bool isVisible() const noexcept { return host_ != nullptr; }

    // Opens `menu` from the item, as a right click on it would.
    void popUpMenu(Menu& menu);

private:
    friend class StatusBar;
    friend class StatusBarButton;
    explicit StatusItem(double length);

    void changed();
    void remove();

    double length_;
    StatusBarButton button_;
    std::unique_ptr<StatusItemHost> host_;
    std::shared_ptr<Menu> shownMenu_;
    std::size_t menuListener_ = 0;
};

}  // namespace appkit
