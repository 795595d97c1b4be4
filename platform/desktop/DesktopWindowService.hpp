#pragma once

#include "platform/appkit/WindowService.hpp"

namespace desktop {

// The application's GTK windows. None exist until the application shows its windows; the list is
// then theirs.
class DesktopWindowService final : public appkit::WindowService {
public:
    std::vector<std::shared_ptr<appkit::Window>> windows() override { return {}; }
};

}  // namespace desktop
