#pragma once

#include "platform/kits/appkit/WindowService.hpp"
#include "platform/backends/desktop/DesktopApplicationService.hpp"

namespace desktop {

// The running application's GTK windows, each tab one window; none until the application runs.
class DesktopWindowService final : public appkit::WindowService {
public:
    explicit DesktopWindowService(const DesktopApplicationService& application) : application_(application) {}

    std::vector<std::shared_ptr<appkit::Window>> windows() override { return application_.windows(); }
    std::shared_ptr<appkit::Window> keyWindow() override { return application_.keyWindow(); }

private:
    const DesktopApplicationService& application_;
};

}  // namespace desktop
