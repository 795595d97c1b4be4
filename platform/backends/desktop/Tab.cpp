#include "platform/backends/desktop/Tab.hpp"

#include "platform/backends/desktop/DesktopWindowRealizer.hpp"
#include "platform/backends/desktop/MainWindow.hpp"
#include "platform/backends/desktop/OpenWindows.hpp"

namespace desktop {

std::string Tab::title() const {
    return view_ ? DesktopWindowRealizer::titleOf(*view_) : windows_.app().name;
}

void Tab::showTitle() const {
    if (owner_ != nullptr) {
        owner_->showTitleOf(*this);
    }
}

void Tab::close() {
    windows_.closeTab(*this);
}

void Tab::makeKeyAndOrderFront() {
    if (owner_ == nullptr) {
        return;
    }
    owner_->select(*this);
    windows_.madeKey(*this);
    owner_->present();
}

bool Tab::isMiniaturized() const {
    return owner_ != nullptr && owner_->isIconified();
}

void Tab::deminiaturize() {
    if (owner_ != nullptr && owner_->isIconified()) {
        owner_->deiconify();
    }
}

void Tab::addTabbedWindow(std::shared_ptr<appkit::Window> window, appkit::WindowOrderingMode ordered) {
    auto* tab = dynamic_cast<Tab*>(window.get());
    if (tab == nullptr || tab == this || owner_ == nullptr) {
        return;
    }
    const int here = owner_->indexOf(*this);
    windows_.moveTab(*tab, *owner_, ordered == appkit::WindowOrderingMode::above ? here + 1 : here);
}

void Tab::newWindowForTab() {
    windows_.openNewWindow();
}

GtkWidget* Tab::widget() const {
    return DesktopWindowRealizer::widgetOf(*view_);
}

}  // namespace desktop
