#include "platform/kits/appkit/StatusBar.hpp"

#include "platform/kits/appkit/StatusBarService.hpp"

namespace appkit {

StatusBar& StatusBar::system() {
    static StatusBar* const bar = new StatusBar;
    return *bar;
}

std::shared_ptr<StatusItem> StatusBar::statusItem(double length) {
    std::shared_ptr<StatusItem> item(new StatusItem(length));
    item->host_ = service().add(*item);
    return item;
}

void StatusBar::removeStatusItem(const std::shared_ptr<StatusItem>& item) {
    if (item) {
        item->remove();
    }
}

double StatusBar::thickness() const {
    return service().thickness();
}

StatusBarService& StatusBar::service() const {
    return service_ != nullptr ? *service_ : StatusBarService::installed();
}

}  // namespace appkit
