#include "kestrova/shell/OpenNewTab.hpp"

#include "platform/kits/appkit/Application.hpp"
#include "platform/kits/appkit/WindowController.hpp"

namespace kestrova {

void openNewTab() {
    auto& application = appkit::Application::shared();
    const auto window = application.keyWindow();
    if (!window) {
        return;
    }
    auto* controller = window->windowController();
    if (controller == nullptr) {
        return;
    }
    controller->newWindowForTab();
    const auto opened = application.keyWindow();
    if (!opened || opened == window) {
        return;
    }
    window->addTabbedWindow(opened, appkit::WindowOrderingMode::above);
}

}  // namespace kestrova
