#include "platform/desktop/Tab.hpp"

#include "platform/desktop/DesktopWindowRealizer.hpp"
#include "platform/desktop/MainWindow.hpp"
#include "platform/desktop/OpenWindows.hpp"

#include <gtk/gtk.h>

namespace desktop {

std::string Tab::title() const {
    return view_ ? DesktopWindowRealizer::titleOf(*view_) : windows_.app().name;
}

void Tab::showTitle() const {
    if (owner != nullptr) {
        owner->showTitleOf(*this);
    }
}

void Tab::close() {
    windows_.closeTab(*this);
}

void Tab::makeKeyAndOrderFront() {
    if (owner == nullptr) {
        return;
    }
    owner->select(*this);
    windows_.madeKey(*this);
    gtk_window_present(GTK_WINDOW(owner->window));
}

bool Tab::isMiniaturized() const {
    return owner != nullptr && owner->iconified;
}

void Tab::deminiaturize() {
    if (owner != nullptr && owner->iconified) {
        gtk_window_deiconify(GTK_WINDOW(owner->window));
    }
}

void Tab::addTabbedWindow(std::shared_ptr<appkit::Window> window, appkit::WindowOrderingMode ordered) {
    auto* tab = dynamic_cast<Tab*>(window.get());
    if (tab == nullptr || tab == this || owner == nullptr) {
        return;
    }
    const int here = owner->indexOf(*this);
    windows_.moveTab(*tab, *owner, ordered == appkit::WindowOrderingMode::above ? here + 1 : here);
}

void Tab::newWindowForTab() {
    windows_.openNewWindow();
}

GtkWidget* Tab::widget() const {
    return DesktopWindowRealizer::widgetOf(*view_);
}

}  // namespace desktop
