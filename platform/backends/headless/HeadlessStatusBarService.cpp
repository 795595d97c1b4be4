#include "platform/backends/headless/HeadlessStatusBarService.hpp"

#include "platform/kits/appkit/Menu.hpp"

#include <algorithm>

namespace headless {

class HeadlessStatusItemHost final : public appkit::StatusItemHost {
public:
    HeadlessStatusItemHost(HeadlessStatusBarService& service, appkit::StatusItem& item)
        : service_(service), item_(item) {
        service_.shown_.push_back(&item_);
        service_.effects_.record("status item added");
    }
    ~HeadlessStatusItemHost() override {
        std::erase(service_.shown_, &item_);
        service_.effects_.record("status item removed");
    }

    void update() override {}
    void popUpMenu(appkit::Menu& menu) override { service_.effects_.record("status menu popped up: " + menu.title()); }

private:
    HeadlessStatusBarService& service_;
    appkit::StatusItem& item_;
};

std::unique_ptr<appkit::StatusItemHost> HeadlessStatusBarService::add(appkit::StatusItem& item) {
    return std::make_unique<HeadlessStatusItemHost>(*this, item);
}

}  // namespace headless
