#pragma once

#include "platform/kits/appkit/Window.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/scenes/App.hpp"
#include "platform/kits/scenes/SceneStore.hpp"

#include <functional>
#include <memory>
#include <vector>

using GtkApplication = struct _GtkApplication;
using GtkWidget = struct _GtkWidget;

namespace desktop {

class DesktopWindowRealizer;
class FocusTracker;
class LaterSteps;
class MainWindow;
class Tab;

// The application's open windows, each a main window with its tabs, and their scenes kept across
// launches: the first windows are those open at the last quit, and each change to the windows is
// saved. Tells the delegate when launching has finished, and asks it whether the last window closing
// ends the application.
class OpenWindows {
public:
    // `terminate` ends the application.
    OpenWindows(const ui::App& app, DesktopWindowRealizer& realizer, GtkApplication* gtk, FocusTracker& focus,
                LaterSteps& steps, std::function<void()> terminate);
    ~OpenWindows();
    OpenWindows(const OpenWindows&) = delete;
    OpenWindows& operator=(const OpenWindows&) = delete;

    [[nodiscard]] const ui::App& app() const noexcept { return app_; }

    // Front to back: the windows in the order they last had the focus, each window's shown tab
    // before its other tabs.
    [[nodiscard]] std::vector<std::shared_ptr<appkit::Window>> windows() const;

    // A new window of the window group, in front and key; its content is made with the values kept
    // for its scene.
    std::shared_ptr<Tab> openWindow(const ui::StoredScene& scene);
    std::shared_ptr<Tab> openNewWindow();
    // The window that the application's actions act on: the key window, else, while no window of the
    // application has the focus (an action called over the bus), the front one.
    [[nodiscard]] std::shared_ptr<Tab> keyOrFrontTab() const;
    // The application was activated: the first windows, else the key window in front.
    void bringForward();
    // Each URL opens in the key window, after the first windows.
    void open(const std::vector<foundation::URL>& urls);
    // A link the application opens for itself: a new window shows it, as a tab of the key window (a
    // window of its own when there is none), so that the page the person was on stays as it was. A
    // link that shows nothing opens no window.
    void openInNewWindow(const foundation::URL& url);

    void madeKey(const Tab& tab);
    // The user or the application closed a tab: its scene is forgotten.
    void closeTab(Tab& tab);
    void moveTab(Tab& tab, MainWindow& into, int position);
    // The user closed a whole window with its tabs.
    void windowDeleted(MainWindow& main);
    void windowFocusChanged(MainWindow& main);
    void tabSwitched(MainWindow& main);

    void saveScenes();
    // Saves the scenes for the next launch, once: the windows closing from then on are the
    // application quitting and keep their scenes. False when that was done already.
    bool keepForRelaunch();
    // Closes every window as the application quits.
    void closeAll();

private:
    static std::string storeFolder(const std::string& name);
    static std::string newIdentity();
    std::shared_ptr<Tab> makeTab(std::string identity, std::unique_ptr<ui::SceneContent> content);
    std::shared_ptr<Tab> openWindow(std::shared_ptr<Tab> tab);

    [[nodiscard]] MainWindow* mainWindowOf(GtkWidget* window) const;
    void destroyWindow(MainWindow& main);
    void openFirstWindows();

    const ui::App& app_;
    DesktopWindowRealizer& realizer_;
    GtkApplication* gtk_;
    FocusTracker& focus_;
    LaterSteps& steps_;
    std::function<void()> terminate_;
    ui::SceneStore store_;
    std::vector<std::unique_ptr<MainWindow>> toplevels_;
    bool launched_ = false;
    bool quitting_ = false;
};

}  // namespace desktop
