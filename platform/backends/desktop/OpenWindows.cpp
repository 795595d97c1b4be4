#include "platform/backends/desktop/OpenWindows.hpp"

#include "platform/kits/appkit/Application.hpp"
#include "platform/backends/desktop/DesktopWindowRealizer.hpp"
#include "platform/backends/desktop/FocusTracker.hpp"
#include "platform/backends/desktop/LaterSteps.hpp"
#include "platform/backends/desktop/MainWindow.hpp"
#include "platform/backends/desktop/Tab.hpp"

#include <gtk/gtk.h>

#include <algorithm>
#include <cctype>

namespace desktop {

OpenWindows::OpenWindows(const ui::App& app, DesktopWindowRealizer& realizer, GtkApplication* gtk, FocusTracker& focus,
                         LaterSteps& steps, std::function<void()> terminate)
    : app_(app),
      realizer_(realizer),
      gtk_(gtk),
      focus_(focus),
      steps_(steps),
      terminate_(std::move(terminate)),
      store_(ui::SceneStore::defaultFile(storeFolder(app.name))) {}

OpenWindows::~OpenWindows() {
    closeAll();
}

std::vector<std::shared_ptr<appkit::Window>> OpenWindows::windows() const {
    std::vector<std::shared_ptr<appkit::Window>> result;
    for (GList* item = gtk_application_get_windows(gtk_); item != nullptr; item = item->next) {
        const MainWindow* main = mainWindowOf(GTK_WIDGET(item->data));
        if (main == nullptr) {
            continue;
        }
        const auto current = main->currentTab();
        if (current) {
            result.push_back(current);
        }
        for (const auto& tab : main->tabs()) {
            if (tab != current) {
                result.push_back(tab);
            }
        }
    }
    return result;
}

std::shared_ptr<Tab> OpenWindows::openWindow(const ui::StoredScene& scene) {
    return openWindow(makeTab(scene.identity, app_.windowGroup.content(scene.values)));
}

std::shared_ptr<Tab> OpenWindows::openWindow(std::shared_ptr<Tab> tab) {
    const auto key = focus_.key();
    auto main = std::make_unique<MainWindow>(*this, gtk_, app_, key ? key->owner() : nullptr);
    main->insert(tab, 0);
    toplevels_.push_back(std::move(main));
    tab->makeKeyAndOrderFront();
    saveScenes();
    if (!launched_) {
        launched_ = true;
        // Launching has finished once the main loop shows the first window.
        steps_.later([] {
            if (auto* delegate = appkit::Application::shared().delegate()) {
                delegate->applicationDidFinishLaunching();
            }
        });
    }
    return tab;
}

std::shared_ptr<Tab> OpenWindows::openNewWindow() {
    return openWindow(ui::StoredScene{newIdentity(), {}});
}

void OpenWindows::bringForward() {
    if (toplevels_.empty()) {
        openFirstWindows();
        return;
    }
    if (const auto key = keyOrFrontTab()) {
        key->makeKeyAndOrderFront();
    }
}

std::shared_ptr<Tab> OpenWindows::keyOrFrontTab() const {
    if (auto key = focus_.key()) {
        return key;
    }
    const auto windows = this->windows();
    return windows.empty() ? nullptr : std::static_pointer_cast<Tab>(windows.front());
}

void OpenWindows::open(const std::vector<foundation::URL>& urls) {
    openFirstWindows();
    for (const auto& url : urls) {
        if (const auto key = keyOrFrontTab()) {
            static_cast<void>(key->content().openURL(url));
            key->makeKeyAndOrderFront();
        }
    }
    saveScenes();
}

void OpenWindows::openInNewWindow(const foundation::URL& url) {
    if (!launched_) {
        openFirstWindows();
    }
    // The link reaches the content before its first evaluation, so the web view starts at its page.
    auto content = app_.windowGroup.content({});
    if (!content->openURL(url)) {
        return;
    }
    auto tab = makeTab(newIdentity(), std::move(content));
    const auto key = keyOrFrontTab();
    MainWindow* const main = key ? key->owner() : nullptr;
    if (main == nullptr) {
        openWindow(std::move(tab));
        return;
    }
    main->insert(tab, main->indexOf(*key) + 1);
    tab->makeKeyAndOrderFront();
    saveScenes();
}

void OpenWindows::madeKey(const Tab& tab) {
    focus_.madeKey(tab);
}

void OpenWindows::closeTab(Tab& tab) {
    MainWindow* main = tab.owner();
    if (main == nullptr) {
        return;
    }
    const auto keep = tab.shared_from_this();
    main->remove(tab);
    tab.view()->close();
    if (main->tabs().empty()) {
        destroyWindow(*main);
    }
    if (!quitting_) {
        saveScenes();
    }
}

void OpenWindows::moveTab(Tab& tab, MainWindow& into, int position) {
    MainWindow* from = tab.owner();
    const auto keep = tab.shared_from_this();
    if (from != nullptr) {
        from->remove(tab);
    }
    into.insert(keep, position);
    into.select(tab);
    if (from != nullptr && from != &into && from->tabs().empty()) {
        destroyWindow(*from);
    }
    saveScenes();
}

void OpenWindows::windowDeleted(MainWindow& main) {
    const auto tabs = main.tabs();
    for (const auto& tab : tabs) {
        closeTab(*tab);
    }
}

void OpenWindows::windowFocusChanged(MainWindow& main) {
    focus_.tabShown(main);
    focus_.activityChanged();
}

void OpenWindows::tabSwitched(MainWindow& main) {
    focus_.tabShown(main);
}

void OpenWindows::saveScenes() {
    std::vector<ui::StoredScene> scenes;
    for (const auto& main : toplevels_) {
        for (const auto& tab : main->tabs()) {
            scenes.push_back(ui::StoredScene{tab->identity(), tab->content().sceneStorage()});
        }
    }
    store_.save(scenes);
}

bool OpenWindows::keepForRelaunch() {
    if (quitting_) {
        return false;
    }
    quitting_ = true;
    saveScenes();
    return true;
}

void OpenWindows::closeAll() {
    quitting_ = true;
    toplevels_.clear();
}

std::string OpenWindows::storeFolder(const std::string& name) {
    std::string folder = name;
    std::transform(folder.begin(), folder.end(), folder.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folder;
}

std::string OpenWindows::newIdentity() {
    g_autofree gchar* text = g_uuid_string_random();
    return text;
}

std::shared_ptr<Tab> OpenWindows::makeTab(std::string identity, std::unique_ptr<ui::SceneContent> content) {
    auto tab = std::make_shared<Tab>(*this, std::move(identity), std::move(content));
    ui::SceneContent* shows = &tab->content();
    const ui::Color background = app_.windowGroup.background;
    const ui::ColorScheme scheme = app_.windowGroup.colorScheme;
    auto view = realizer_.openEmbedded(ui::WindowOptions{app_.name, app_.windowGroup.minimumSize, true}, [shows, background, scheme] {
        return shows->body()
            .frame(ui::View::FlexibleFrame{std::nullopt, std::nullopt, ui::infinity, std::nullopt, std::nullopt, ui::infinity, ui::Alignment::center()})
            .background(ui::Rectangle().fill(background).ignoresSafeArea())
            .colorScheme(scheme);
    });
    view->onUpdate([this, weak = std::weak_ptr<Tab>(tab)] {
        if (const auto shown = weak.lock(); shown && shown->view()) {
            focus_.valuesChanged(*shown);
            shown->showTitle();
        }
    });
    tab->show(std::move(view));
    return tab;
}

MainWindow* OpenWindows::mainWindowOf(GtkWidget* window) const {
    for (const auto& main : toplevels_) {
        if (main->isWindow(window)) {
            return main.get();
        }
    }
    return nullptr;
}

void OpenWindows::destroyWindow(MainWindow& main) {
    std::erase_if(toplevels_, [&](const auto& owned) { return owned.get() == &main; });
    if (toplevels_.empty() && !quitting_) {
        focus_.noWindowLeft();
        // Asked once the close has been handled: whatever closed the window may open another.
        steps_.later([this] {
            auto* delegate = appkit::Application::shared().delegate();
            if (toplevels_.empty() && !quitting_ && delegate != nullptr &&
                delegate->applicationShouldTerminateAfterLastWindowClosed()) {
                terminate_();
            }
        });
    }
}

// The first windows: one per scene kept at the last quit, else a new one.
void OpenWindows::openFirstWindows() {
    if (!toplevels_.empty()) {
        return;
    }
    const auto scenes = launched_ ? std::vector<ui::StoredScene>{} : store_.load();
    if (scenes.empty()) {
        openNewWindow();
        return;
    }
    for (const auto& scene : scenes) {
        openWindow(scene);
    }
}

}  // namespace desktop
