#pragma once

#include "platform/kits/appkit/DockService.hpp"

#include <memory>

namespace headless {

// Keeps the offered menu, so that a test can choose its items as a launcher would.
class HeadlessDockService final : public appkit::DockService {
public:
    void setMenu(std::shared_ptr<appkit::Menu> menu) override { menu_ = std::move(menu); }
    [[nodiscard]] const std::shared_ptr<appkit::Menu>& menu() const noexcept { return menu_; }

private:
    std::shared_ptr<appkit::Menu> menu_;
};

}  // namespace headless
