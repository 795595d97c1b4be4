#pragma once

#include "platform/kits/scenes/App.hpp"

#include <memory>
#include <vector>

using GtkApplication = struct _GtkApplication;
using GtkWidget = struct _GtkWidget;

namespace desktop {

class OpenWindows;
class Tab;

// A window of the window group: a header bar without a title and the window's tabs, whose bar shows
// only when there are two or more, each labelled with its title. The window's title is its shown
// tab's.
class MainWindow {
public:
    // A window opened while another is key cascades from it.
    MainWindow(OpenWindows& windows, GtkApplication* gtk, const ui::App& app, const MainWindow* key);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void insert(const std::shared_ptr<Tab>& tab, int position);
    // Takes the tab out without closing it; the tab's widget stays alive for another window.
    void remove(Tab& tab);
    void select(const Tab& tab);
    [[nodiscard]] std::shared_ptr<Tab> currentTab() const;
    [[nodiscard]] int indexOf(const Tab& tab) const;
    // The tab's title may have changed.
    void showTitleOf(const Tab& tab);
    // In the order of the tab bar.
    [[nodiscard]] const std::vector<std::shared_ptr<Tab>>& tabs() const noexcept { return tabs_; }

    [[nodiscard]] bool isWindow(const GtkWidget* window) const noexcept { return window == window_; }
    [[nodiscard]] bool isActive() const;
    [[nodiscard]] bool isIconified() const noexcept { return iconified_; }
    void present();
    void iconify();
    void deiconify();

private:
    OpenWindows& windows_;
    GtkWidget* window_ = nullptr;
    GtkWidget* notebook_ = nullptr;
    std::vector<std::shared_ptr<Tab>> tabs_;
    bool iconified_ = false;
};

}  // namespace desktop
