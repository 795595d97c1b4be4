#pragma once

#include "platform/ui/App.hpp"

#include <memory>
#include <vector>

using GtkApplication = struct _GtkApplication;
using GtkWidget = struct _GtkWidget;

namespace desktop {

class OpenWindows;
class Tab;

// A window of the window group: a header bar without a title and the window's tabs, whose bar shows
// only when there are two or more.
class MainWindow {
public:
    MainWindow(OpenWindows& windows, GtkApplication* gtk, const ui::App& app);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void insert(const std::shared_ptr<Tab>& tab, int position);
    // Takes the tab out without closing it; the tab's widget stays alive for another window.
    void remove(Tab& tab);
    void select(const Tab& tab);
    [[nodiscard]] std::shared_ptr<Tab> currentTab() const;
    [[nodiscard]] int indexOf(const Tab& tab) const;

    GtkWidget* window = nullptr;
    GtkWidget* notebook = nullptr;
    std::vector<std::shared_ptr<Tab>> tabs;  // in the order of the tab bar
    bool iconified = false;

private:
    OpenWindows& windows_;
};

}  // namespace desktop
