#include "platform/kits/scenes/SettingsWindow.hpp"

namespace ui {

std::shared_ptr<Window> SettingsWindow::open() {
    if (window_ && window_->isOpen()) {
        window_->makeKeyAndOrderFront();
        return window_;
    }
    window_ = realizer_.open(WindowOptions{scene_.title, scene_.size, false}, scene_.content);
    window_->makeKeyAndOrderFront();
    return window_;
}

}  // namespace ui
