#pragma once

#include "platform/kits/appkit/Window.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

using GtkApplication = struct _GtkApplication;

namespace desktop {

class LaterSteps;
class MainWindow;
class Tab;

// Where the application's focus is: the key window, whether a window of the application has the focus
// (the delegate is told when the application becomes and resigns active), and the focused values
// that the focused window's views offer the commands.
class FocusTracker {
public:
    // `resigning` runs when the application resigns active, before the delegate hears of it.
    FocusTracker(GtkApplication* gtk, LaterSteps& steps, std::function<void()> resigning)
        : gtk_(gtk), steps_(steps), resigning_(std::move(resigning)) {}
    FocusTracker(const FocusTracker&) = delete;
    FocusTracker& operator=(const FocusTracker&) = delete;

    // The tab that has, or last had, the focus.
    [[nodiscard]] std::shared_ptr<Tab> key() const { return key_.lock(); }
    // The key tab while the application is active or about to be.
    [[nodiscard]] std::shared_ptr<appkit::Window> keyWindow() const;

    void madeKey(const Tab& tab);
    // The window's shown tab changed, or whether the window has the focus.
    void tabShown(const MainWindow& main);
    // The views of the tab offer other focused values.
    void valuesChanged(Tab& tab) { offerFocusedValues(tab, false); }
    // A window of the application gained or lost the focus.
    void activityChanged();
    void noWindowLeft();

private:
    void focus(Tab& tab);
    void offerFocusedValues(Tab& tab, bool focusMoved);
    [[nodiscard]] bool anyWindowActive() const;

    GtkApplication* gtk_;
    LaterSteps& steps_;
    std::function<void()> resigning_;
    std::weak_ptr<Tab> key_;
    std::vector<std::string> focusedKeys_;  // what the focused window offered last
    bool active_ = false;
    bool keyPending_ = false;  // a window was made key and the focus has not arrived yet
    bool resignScheduled_ = false;
};

}  // namespace desktop
