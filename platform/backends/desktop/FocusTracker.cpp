#include "platform/backends/desktop/FocusTracker.hpp"

#include "platform/kits/appkit/Application.hpp"
#include "platform/backends/desktop/LaterSteps.hpp"
#include "platform/backends/desktop/MainWindow.hpp"
#include "platform/backends/desktop/Tab.hpp"
#include "platform/kits/scenes/FocusedValues.hpp"

#include <gtk/gtk.h>

namespace desktop {

std::shared_ptr<appkit::Window> FocusTracker::keyWindow() const {
    if (!active_ && !keyPending_) {
        return nullptr;
    }
    return key_.lock();
}

void FocusTracker::madeKey(const Tab& tab) {
    key_ = std::const_pointer_cast<Tab>(tab.shared_from_this());
    keyPending_ = true;
}

void FocusTracker::tabShown(const MainWindow& main) {
    if (main.isActive()) {
        if (const auto tab = main.currentTab()) {
            focus(*tab);
        }
    }
}

void FocusTracker::noWindowLeft() {
    ui::FocusedValues::shared().replace({});
}

void FocusTracker::focus(Tab& tab) {
    key_ = tab.shared_from_this();
    offerFocusedValues(tab, true);
}

// The commands read what the focused window's views offer: anew when the focus moves, and when the
// views of the focused window offer other keys.
void FocusTracker::offerFocusedValues(Tab& tab, bool focusMoved) {
    auto values = tab.view()->host().focusedValues();
    std::vector<std::string> keys;
    for (const auto& [key, value] : values) {
        keys.push_back(key);
    }
    if (!focusMoved && (key_.lock().get() != &tab || keys == focusedKeys_)) {
        return;
    }
    focusedKeys_ = std::move(keys);
    ui::FocusedValues::shared().replace(std::move(values));
}

// Whether any window of the application has the focus; a move of the focus between two of them
// passes through a moment with none, so resigning waits for the main loop to settle.
bool FocusTracker::anyWindowActive() const {
    for (GList* item = gtk_application_get_windows(gtk_); item != nullptr; item = item->next) {
        if (gtk_window_is_active(GTK_WINDOW(item->data)) != FALSE) {
            return true;
        }
    }
    return false;
}

void FocusTracker::activityChanged() {
    if (anyWindowActive()) {
        keyPending_ = false;
        if (!active_) {
            active_ = true;
            if (auto* delegate = appkit::Application::shared().delegate()) {
                delegate->applicationWillBecomeActive();
            }
        }
        return;
    }
    if (!active_ || resignScheduled_) {
        return;
    }
    resignScheduled_ = true;
    steps_.later([this] {
        resignScheduled_ = false;
        if (active_ && !anyWindowActive()) {
            active_ = false;
            keyPending_ = false;
            resigning_();
            if (auto* delegate = appkit::Application::shared().delegate()) {
                delegate->applicationDidResignActive();
            }
        }
    });
}

}  // namespace desktop
