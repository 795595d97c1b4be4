#include "platform/desktop/DesktopApplication.hpp"

#include "platform/appkit/Application.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/desktop/DesktopWindowRealizer.hpp"
#include "platform/foundation/Data.hpp"
#include "platform/intents/KeyedUnarchiver.hpp"
#include "platform/intents/UserActivity.hpp"
#include "platform/ui/CommandCenter.hpp"
#include "platform/ui/FocusedValues.hpp"
#include "platform/ui/MainMenu.hpp"
#include "platform/ui/SceneStore.hpp"
#include "platform/ui/SettingsWindow.hpp"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <cctype>
#include <exception>
#include <iostream>
#include <set>
#include <string>

namespace desktop {

class MainWindow;

// One tab of a main window: a window of the application with its own content and scene.
class Tab final : public appkit::Window, public appkit::WindowController, public std::enable_shared_from_this<Tab> {
public:
    Tab(DesktopApplication::Implementation& application, std::string identity, std::unique_ptr<ui::SceneContent> content)
        : application_(application), identity_(std::move(identity)), content_(std::move(content)) {}

    [[nodiscard]] std::string title() const override;
    void close() override;
    [[nodiscard]] bool canBecomeKey() const override { return true; }
    void makeKeyAndOrderFront() override;
    [[nodiscard]] bool isMiniaturized() const override;
    void deminiaturize() override;
    [[nodiscard]] appkit::WindowController* windowController() const override { return const_cast<Tab*>(this); }
    void addTabbedWindow(std::shared_ptr<appkit::Window> window, appkit::WindowOrderingMode ordered) override;
    void newWindowForTab() override;

    [[nodiscard]] const std::string& identity() const noexcept { return identity_; }
    [[nodiscard]] ui::SceneContent& content() const noexcept { return *content_; }
    [[nodiscard]] GtkWidget* widget() const { return DesktopWindowRealizer::widgetOf(*view_); }

    std::shared_ptr<ui::Window> view_;
    MainWindow* owner = nullptr;

private:
    DesktopApplication::Implementation& application_;
    std::string identity_;
    std::unique_ptr<ui::SceneContent> content_;
};

// A window of the window group: a header bar without a title and the window's tabs, whose bar shows
// only when there are two or more.
class MainWindow {
public:
    MainWindow(DesktopApplication::Implementation& application, GtkApplication* gtk, const ui::App& app);
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
    DesktopApplication::Implementation& application_;
};

class DesktopApplication::Implementation {
public:
    Implementation(ui::App app, DesktopWindowRealizer& realizer)
        : app_(std::move(app)),
          realizer_(realizer),
          settings_(inScheme(app_.settings, app_.windowGroup.colorScheme), realizer),
          store_(ui::SceneStore::defaultFile(storeFolder(app_.name))) {
        gtk_ = gtk_application_new(app_.identifier.c_str(), G_APPLICATION_HANDLES_OPEN);
        g_signal_connect(gtk_, "startup", G_CALLBACK(+[](GApplication*, gpointer self) {
                             static_cast<Implementation*>(self)->startup();
                         }),
                         this);
        g_signal_connect(gtk_, "activate", G_CALLBACK(+[](GApplication*, gpointer self) {
                             static_cast<Implementation*>(self)->activated();
                         }),
                         this);
        g_signal_connect(gtk_, "open", G_CALLBACK(+[](GApplication*, GFile** files, gint count, gchar*, gpointer self) {
                             static_cast<Implementation*>(self)->opened(files, count);
                         }),
                         this);
        g_signal_connect(gtk_, "shutdown", G_CALLBACK(+[](GApplication*, gpointer self) {
                             static_cast<Implementation*>(self)->shutdown();
                         }),
                         this);
    }

    ~Implementation() {
        for (const guint source : pending_) {
            g_source_remove(source);
        }
        quitting_ = true;
        toplevels_.clear();
        g_object_unref(gtk_);
    }
    Implementation(const Implementation&) = delete;
    Implementation& operator=(const Implementation&) = delete;

    int run(int argc, char** argv) { return g_application_run(G_APPLICATION(gtk_), argc, argv); }

    [[nodiscard]] const ui::App& app() const noexcept { return app_; }

    bool launch() {
        GError* error = nullptr;
        if (g_application_register(G_APPLICATION(gtk_), nullptr, &error) == FALSE) {
            std::cerr << "cannot register the application: " << error->message << '\n';
            g_error_free(error);
            return false;
        }
        g_application_activate(G_APPLICATION(gtk_));
        return g_application_get_is_remote(G_APPLICATION(gtk_)) == FALSE;
    }

    // Front to back: the windows in the order they last had the focus, each window's shown tab
    // before its other tabs.
    [[nodiscard]] std::vector<std::shared_ptr<appkit::Window>> windows() const {
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
            for (const auto& tab : main->tabs) {
                if (tab != current) {
                    result.push_back(tab);
                }
            }
        }
        return result;
    }

    [[nodiscard]] std::shared_ptr<appkit::Window> keyWindow() const {
        if (!active_ && !keyPending_) {
            return nullptr;
        }
        return key_.lock();
    }

    void terminate() {
        if (quitting_) {
            return;
        }
        quitting_ = true;
        saveScenes();
        g_application_quit(G_APPLICATION(gtk_));
    }

    // A new window of the window group, in front and key; its content is made with the values kept
    // for its scene.
    std::shared_ptr<Tab> openWindow(const ui::StoredScene& scene) {
        auto tab = makeTab(scene);
        auto main = std::make_unique<MainWindow>(*this, gtk_, app_);
        main->insert(tab, 0);
        toplevels_.push_back(std::move(main));
        tab->makeKeyAndOrderFront();
        saveScenes();
        if (!launched_) {
            launched_ = true;
            // Launching has finished once the main loop shows the first window.
            later([](Implementation&) {
                if (auto* delegate = appkit::Application::shared().delegate()) {
                    delegate->applicationDidFinishLaunching();
                }
            });
        }
        return tab;
    }

    std::shared_ptr<Tab> openNewWindow() { return openWindow(ui::StoredScene{newIdentity(), {}}); }

    void madeKey(const Tab& tab) {
        key_ = std::const_pointer_cast<Tab>(tab.shared_from_this());
        keyPending_ = true;
    }

    // The user or the application closed a tab: its scene is forgotten.
    void closeTab(Tab& tab) {
        MainWindow* main = tab.owner;
        if (main == nullptr) {
            return;
        }
        const auto keep = tab.shared_from_this();
        main->remove(tab);
        tab.view_->close();
        if (main->tabs.empty()) {
            destroyWindow(*main);
        }
        if (!quitting_) {
            saveScenes();
        }
    }

    void moveTab(Tab& tab, MainWindow& into, int position) {
        MainWindow* from = tab.owner;
        const auto keep = tab.shared_from_this();
        if (from != nullptr) {
            from->remove(tab);
        }
        into.insert(keep, position);
        into.select(tab);
        if (from != nullptr && from != &into && from->tabs.empty()) {
            destroyWindow(*from);
        }
        saveScenes();
    }

    void windowFocusChanged(MainWindow& main) {
        if (gtk_window_is_active(GTK_WINDOW(main.window)) != FALSE) {
            if (const auto tab = main.currentTab()) {
                focus(*tab);
            }
        }
        activityChanged();
    }

    void tabSwitched(MainWindow& main) {
        if (gtk_window_is_active(GTK_WINDOW(main.window)) != FALSE) {
            if (const auto tab = main.currentTab()) {
                focus(*tab);
            }
        }
    }

    // The user closed a whole window with its tabs.
    void windowDeleted(MainWindow& main) {
        const auto tabs = main.tabs;
        for (const auto& tab : tabs) {
            closeTab(*tab);
        }
    }

    void openSettings() {
        const auto window = settings_.open();
        GtkWidget* widget = DesktopWindowRealizer::widgetOf(*window);
        if (gtk_window_get_application(GTK_WINDOW(widget)) == nullptr) {
            gtk_application_add_window(gtk_, GTK_WINDOW(widget));
            g_signal_connect(widget, "notify::is-active", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) {
                                 static_cast<Implementation*>(self)->activityChanged();
                             }),
                             this);
        }
    }

private:
    struct Pending {
        Implementation* owner;
        void (*step)(Implementation&);
        guint source = 0;
    };

    // Runs `step` on a later turn of the main loop, unless the application is gone by then.
    void later(void (*step)(Implementation&)) {
        auto* pending = new Pending{this, step};
        pending->source = g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, +[](gpointer data) -> gboolean {
            auto* due = static_cast<Pending*>(data);
            due->owner->pending_.erase(due->source);
            due->step(*due->owner);
            return G_SOURCE_REMOVE;
        }, pending, +[](gpointer data) { delete static_cast<Pending*>(data); });
        pending_.insert(pending->source);
    }

    // The theme the application prefers is every window's: the Settings window's views draw in its
    // colour scheme too.
    static ui::SettingsScene inScheme(ui::SettingsScene scene, ui::ColorScheme scheme) {
        scene.content = [content = std::move(scene.content), scheme] { return content().colorScheme(scheme); };
        return scene;
    }

    static std::string storeFolder(const std::string& name) {
        std::string folder = name;
        std::transform(folder.begin(), folder.end(), folder.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return folder;
    }

    static std::string newIdentity() {
        gchar* text = g_uuid_string_random();
        std::string identity(text);
        g_free(text);
        return identity;
    }

    std::shared_ptr<Tab> makeTab(const ui::StoredScene& scene) {
        auto tab = std::make_shared<Tab>(*this, scene.identity, app_.windowGroup.content(scene.values));
        ui::SceneContent* content = &tab->content();
        const ui::Color background = app_.windowGroup.background;
        const ui::ColorScheme scheme = app_.windowGroup.colorScheme;
        auto view = realizer_.openEmbedded(ui::WindowOptions{app_.name, app_.windowGroup.minimumSize, true}, [content, background, scheme] {
            return content->body()
                .frame(ui::View::FlexibleFrame{std::nullopt, std::nullopt, ui::infinity, std::nullopt, std::nullopt, ui::infinity, ui::Alignment::center()})
                .background(ui::Rectangle().fill(background).ignoresSafeArea())
                .colorScheme(scheme);
        });
        view->onUpdate([this, weak = std::weak_ptr<Tab>(tab)] {
            if (const auto shown = weak.lock(); shown && shown->view_) {
                offerFocusedValues(*shown, false);
            }
        });
        tab->view_ = std::move(view);
        return tab;
    }

    MainWindow* mainWindowOf(GtkWidget* window) const {
        for (const auto& main : toplevels_) {
            if (main->window == window) {
                return main.get();
            }
        }
        return nullptr;
    }

    void destroyWindow(MainWindow& main) {
        std::erase_if(toplevels_, [&](const auto& owned) { return owned.get() == &main; });
        if (toplevels_.empty() && !quitting_) {
            ui::FocusedValues::shared().replace({});
            // Asked once the close has been handled: whatever closed the window may open another.
            later([](Implementation& self) {
                auto* delegate = appkit::Application::shared().delegate();
                if (self.toplevels_.empty() && !self.quitting_ && delegate != nullptr &&
                    delegate->applicationShouldTerminateAfterLastWindowClosed()) {
                    self.terminate();
                }
            });
        }
    }

    void focus(Tab& tab) {
        key_ = tab.shared_from_this();
        offerFocusedValues(tab, true);
    }

    // The commands read what the focused window's views offer: anew when the focus moves, and when
    // the views of the focused window offer other keys.
    void offerFocusedValues(Tab& tab, bool focusMoved) {
        auto values = tab.view_->host().focusedValues();
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
    [[nodiscard]] bool anyWindowActive() const {
        for (GList* item = gtk_application_get_windows(gtk_); item != nullptr; item = item->next) {
            if (gtk_window_is_active(GTK_WINDOW(item->data)) != FALSE) {
                return true;
            }
        }
        return false;
    }

    void activityChanged() {
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
        later([](Implementation& self) {
            self.resignScheduled_ = false;
            if (self.active_ && !self.anyWindowActive()) {
                self.active_ = false;
                self.keyPending_ = false;
                self.saveScenes();
                if (auto* delegate = appkit::Application::shared().delegate()) {
                    delegate->applicationDidResignActive();
                }
            }
        });
    }

    void saveScenes() {
        std::vector<ui::StoredScene> scenes;
        for (const auto& main : toplevels_) {
            for (const auto& tab : main->tabs) {
                scenes.push_back(ui::StoredScene{tab->identity(), tab->content().sceneStorage()});
            }
        }
        store_.save(scenes);
    }

    // The first windows: one per scene kept at the last quit, else a new one.
    void openFirstWindows() {
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

    void activated() {
        if (toplevels_.empty()) {
            openFirstWindows();
            return;
        }
        if (const auto key = key_.lock()) {
            key->makeKeyAndOrderFront();
        } else if (const auto windows = this->windows(); !windows.empty()) {
            windows.front()->makeKeyAndOrderFront();
        }
    }

    void opened(GFile** files, gint count) {
        openFirstWindows();
        for (gint index = 0; index < count; ++index) {
            gchar* uri = g_file_get_uri(files[index]);
            const auto url = foundation::URL::fromString(uri);
            g_free(uri);
            if (!url) {
                continue;
            }
            auto key = key_.lock();
            if (!key) {
                const auto windows = this->windows();
                key = windows.empty() ? nullptr : std::static_pointer_cast<Tab>(windows.front());
            }
            if (key) {
                key->content().openURL(*url);
                key->makeKeyAndOrderFront();
            }
        }
        saveScenes();
    }

    void startup() {
        // Held until it quits: whether the last window closing ends it is the delegate's answer.
        g_application_hold(G_APPLICATION(gtk_));
        g_object_set(gtk_settings_get_default(), "gtk-application-prefer-dark-theme",
                     app_.windowGroup.colorScheme == ui::ColorScheme::dark ? TRUE : FALSE, nullptr);
        addStandardActions();
        addContinueActivityAction();
        commands_ = std::make_unique<ui::CommandCenter>(app_.commands);
        for (auto* source : app_.commandSources) {
            commands_->observe(*source);
        }
        commands_->onChange([this] { refreshMenu(); });
        refreshMenu();
    }

    void shutdown() {
        if (!quitting_) {
            quitting_ = true;
            saveScenes();
        }
        commands_.reset();
        toplevels_.clear();
    }

    void addAction(const std::string& name, void (*activate)(GSimpleAction*, GVariant*, gpointer), const GVariantType* parameter = nullptr) {
        GSimpleAction* action = g_simple_action_new(name.c_str(), parameter);
        g_signal_connect(action, "activate", G_CALLBACK(activate), this);
        g_action_map_add_action(G_ACTION_MAP(gtk_), G_ACTION(action));
        g_object_unref(action);
    }

    void addStandardActions() {
        addAction("about", +[](GSimpleAction*, GVariant*, gpointer self) { static_cast<Implementation*>(self)->showAbout(); });
        addAction("settings", +[](GSimpleAction*, GVariant*, gpointer self) { static_cast<Implementation*>(self)->openSettings(); });
        addAction("quit", +[](GSimpleAction*, GVariant*, gpointer self) { static_cast<Implementation*>(self)->terminate(); });
        addAction("new-window", +[](GSimpleAction*, GVariant*, gpointer self) { static_cast<Implementation*>(self)->openNewWindow(); });
        addAction("close", +[](GSimpleAction*, GVariant*, gpointer self) {
            if (const auto key = static_cast<Implementation*>(self)->key_.lock()) {
                key->close();
            }
        });
        addAction("minimize", +[](GSimpleAction*, GVariant*, gpointer self) {
            if (const auto key = static_cast<Implementation*>(self)->key_.lock(); key && key->owner) {
                gtk_window_iconify(GTK_WINDOW(key->owner->window));
            }
        });
        static const std::pair<const char*, const char*> editing[] = {
            {"undo", WEBKIT_EDITING_COMMAND_UNDO}, {"redo", WEBKIT_EDITING_COMMAND_REDO},
            {"cut", WEBKIT_EDITING_COMMAND_CUT},   {"copy", WEBKIT_EDITING_COMMAND_COPY},
            {"paste", WEBKIT_EDITING_COMMAND_PASTE}, {"select-all", WEBKIT_EDITING_COMMAND_SELECT_ALL}};
        for (const auto& [name, command] : editing) {
            GSimpleAction* action = g_simple_action_new(name, nullptr);
            g_signal_connect(action, "activate", G_CALLBACK(+[](GSimpleAction* performed, GVariant*, gpointer self) {
                                 static_cast<Implementation*>(self)->edit(g_action_get_name(G_ACTION(performed)));
                             }),
                             this);
            g_object_set_data(G_OBJECT(action), "kestrova-editing", const_cast<char*>(command));
            g_action_map_add_action(G_ACTION_MAP(gtk_), G_ACTION(action));
            g_object_unref(action);
        }
    }

    // The standard editing items act on the widget with the keyboard focus: the web page or a text
    // field.
    void edit(const char* name) {
        GtkWindow* window = gtk_application_get_active_window(gtk_);
        GtkWidget* focused = window ? gtk_window_get_focus(window) : nullptr;
        if (focused == nullptr) {
            return;
        }
        GAction* action = g_action_map_lookup_action(G_ACTION_MAP(gtk_), name);
        const auto* command = static_cast<const char*>(g_object_get_data(G_OBJECT(action), "kestrova-editing"));
        if (WEBKIT_IS_WEB_VIEW(focused)) {
            webkit_web_view_execute_editing_command(WEBKIT_WEB_VIEW(focused), command);
            return;
        }
        const std::string standard(name);
        const std::string signal = standard == "select-all" ? "" : standard + "-clipboard";
        if (GTK_IS_EDITABLE(focused) && standard == "select-all") {
            gtk_editable_select_region(GTK_EDITABLE(focused), 0, -1);
        } else if (!signal.empty() && g_signal_lookup(signal.c_str(), G_OBJECT_TYPE(focused)) != 0) {
            g_signal_emit_by_name(focused, signal.c_str());
        }
    }

    void showAbout() {
        GtkWindow* parent = gtk_application_get_active_window(gtk_);
        gtk_show_about_dialog(parent, "program-name", app_.name.c_str(), "logo-icon-name", app_.identifier.c_str(), nullptr);
    }

    // "continue-activity" with the archived activity as text, which other programs call over D-Bus
    // (org.gtk.Actions.Activate) to hand work over to the application.
    void addContinueActivityAction() {
        addAction("continue-activity", +[](GSimpleAction*, GVariant* parameter, gpointer) {
            gsize length = 0;
            const gchar* text = g_variant_get_string(parameter, &length);
            try {
                const auto activity = intents::KeyedUnarchiver::unarchivedObject<intents::UserActivity>(
                    foundation::Data(std::string(text, length)));
                if (auto* delegate = appkit::Application::shared().delegate()) {
                    delegate->continueUserActivity(*activity);
                }
            } catch (const std::exception& error) {
                std::cerr << "continue-activity: not an archived user activity: " << error.what() << '\n';
            }
        }, G_VARIANT_TYPE_STRING);
    }

    // Builds the menu bar anew when its items changed, and brings every command's enabled state in
    // line with its condition.
    void refreshMenu() {
        const auto menus = ui::buildMainMenu(app_.name, commands_->groups());
        std::string shape;
        for (const auto& menu : menus) {
            shape += menu.title + "\n";
            for (const auto& section : menu.sections) {
                for (const auto& item : section) {
                    shape += item.title + "\t" + item.action + "\n";
                }
                shape += "--\n";
            }
        }
        for (const auto& menu : menus) {
            for (const auto& section : menu.sections) {
                for (const auto& item : section) {
                    if (item.action.starts_with("command-")) {
                        updateCommandAction(item);
                    }
                    std::vector<const char*> accelerators;
                    for (const auto& accelerator : item.accelerators) {
                        accelerators.push_back(accelerator.c_str());
                    }
                    accelerators.push_back(nullptr);
                    gtk_application_set_accels_for_action(gtk_, ("app." + item.action).c_str(), accelerators.data());
                }
            }
        }
        if (shape == menuShape_) {
            return;
        }
        menuShape_ = shape;
        GMenu* bar = g_menu_new();
        for (const auto& menu : menus) {
            GMenu* submenu = g_menu_new();
            for (const auto& section : menu.sections) {
                GMenu* part = g_menu_new();
                for (const auto& item : section) {
                    g_menu_append(part, item.title.c_str(), ("app." + item.action).c_str());
                }
                g_menu_append_section(submenu, nullptr, G_MENU_MODEL(part));
                g_object_unref(part);
            }
            g_menu_append_submenu(bar, menu.title.c_str(), G_MENU_MODEL(submenu));
            g_object_unref(submenu);
        }
        gtk_application_set_menubar(gtk_, G_MENU_MODEL(bar));
        g_object_unref(bar);
    }

    void updateCommandAction(const ui::MainMenuItem& item) {
        GAction* existing = g_action_map_lookup_action(G_ACTION_MAP(gtk_), item.action.c_str());
        if (existing == nullptr) {
            GSimpleAction* action = g_simple_action_new(item.action.c_str(), nullptr);
            g_signal_connect(action, "activate", G_CALLBACK(+[](GSimpleAction* performed, GVariant*, gpointer self) {
                                 static_cast<Implementation*>(self)->perform(g_action_get_name(G_ACTION(performed)));
                             }),
                             this);
            g_action_map_add_action(G_ACTION_MAP(gtk_), G_ACTION(action));
            g_object_unref(action);
            existing = G_ACTION(action);
        }
        g_simple_action_set_enabled(G_SIMPLE_ACTION(existing), item.enabled ? TRUE : FALSE);
    }

    // Runs the command as it stands now, unless it was disabled meanwhile.
    void perform(const std::string& name) {
        for (const auto& menu : ui::buildMainMenu(app_.name, commands_->groups())) {
            for (const auto& section : menu.sections) {
                for (const auto& item : section) {
                    if (item.action == name && item.enabled && item.perform) {
                        const auto action = item.perform;
                        action();
                        return;
                    }
                }
            }
        }
    }

    ui::App app_;
    DesktopWindowRealizer& realizer_;
    ui::SettingsWindow settings_;
    ui::SceneStore store_;
    GtkApplication* gtk_ = nullptr;
    std::unique_ptr<ui::CommandCenter> commands_;
    std::vector<std::unique_ptr<MainWindow>> toplevels_;
    std::weak_ptr<Tab> key_;
    std::vector<std::string> focusedKeys_;  // what the focused window offered last
    std::set<guint> pending_;               // the sources of later()
    std::string menuShape_;
    bool active_ = false;
    bool keyPending_ = false;  // a window was made key and the focus has not arrived yet
    bool resignScheduled_ = false;
    bool launched_ = false;
    bool quitting_ = false;

};

std::string Tab::title() const {
    return application_.app().name;
}

void Tab::close() {
    application_.closeTab(*this);
}

void Tab::makeKeyAndOrderFront() {
    if (owner == nullptr) {
        return;
    }
    owner->select(*this);
    application_.madeKey(*this);
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
    application_.moveTab(*tab, *owner, ordered == appkit::WindowOrderingMode::above ? here + 1 : here);
}

void Tab::newWindowForTab() {
    application_.openNewWindow();
}

MainWindow::MainWindow(DesktopApplication::Implementation& application, GtkApplication* gtk, const ui::App& app)
    : application_(application) {
    window = gtk_application_window_new(gtk);
    gtk_window_set_title(GTK_WINDOW(window), app.name.c_str());
    gtk_window_set_default_size(GTK_WINDOW(window), static_cast<int>(app.windowGroup.idealSize.width),
                                static_cast<int>(app.windowGroup.idealSize.height));
    GtkWidget* header = gtk_header_bar_new();
    gtk_header_bar_set_show_close_button(GTK_HEADER_BAR(header), TRUE);
    if (!app.windowGroup.showsTitle) {
        // An empty box in the title's place: the header bar shows no text.
        gtk_header_bar_set_custom_title(GTK_HEADER_BAR(header), gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0));
    }
    gtk_window_set_titlebar(GTK_WINDOW(window), header);
    notebook = gtk_notebook_new();
    gtk_notebook_set_show_border(GTK_NOTEBOOK(notebook), FALSE);
    gtk_notebook_set_scrollable(GTK_NOTEBOOK(notebook), TRUE);
    gtk_container_add(GTK_CONTAINER(window), notebook);
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, "window.kestrova-main, window.kestrova-main notebook, window.kestrova-main stack { background-color: #000000; }", -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
    gtk_style_context_add_class(gtk_widget_get_style_context(window), "kestrova-main");

    g_signal_connect(window, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) {
                         auto* main = static_cast<MainWindow*>(self);
                         main->application_.windowDeleted(*main);
                         return TRUE;
                     }),
                     this);
    g_signal_connect(window, "notify::is-active", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) {
                         auto* main = static_cast<MainWindow*>(self);
                         main->application_.windowFocusChanged(*main);
                     }),
                     this);
    g_signal_connect(window, "window-state-event", G_CALLBACK(+[](GtkWidget*, GdkEventWindowState* event, gpointer self) {
                         static_cast<MainWindow*>(self)->iconified = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
                         return FALSE;
                     }),
                     this);
    g_signal_connect_after(notebook, "switch-page", G_CALLBACK(+[](GtkNotebook*, GtkWidget*, guint, gpointer self) {
                               auto* main = static_cast<MainWindow*>(self);
                               main->application_.tabSwitched(*main);
                           }),
                           this);
    // The minimum size belongs to the content, so that the title bar comes on top of it.
    gtk_widget_show_all(window);
}

MainWindow::~MainWindow() {
    for (const auto& tab : tabs) {
        tab->owner = nullptr;
    }
    gtk_widget_destroy(window);
}

void MainWindow::insert(const std::shared_ptr<Tab>& tab, int position) {
    position = std::clamp(position, 0, static_cast<int>(tabs.size()));
    tabs.insert(tabs.begin() + position, tab);
    tab->owner = this;
    GtkWidget* label = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
    gtk_box_pack_start(GTK_BOX(label), gtk_label_new(tab->title().c_str()), TRUE, TRUE, 0);
    GtkWidget* close = gtk_button_new_from_icon_name("window-close-symbolic", GTK_ICON_SIZE_MENU);
    gtk_button_set_relief(GTK_BUTTON(close), GTK_RELIEF_NONE);
    g_signal_connect(close, "clicked", G_CALLBACK(+[](GtkButton*, gpointer data) {
                         // The tab may be gone with its window: ask for it by its widget.
                         static_cast<Tab*>(data)->close();
                     }),
                     tab.get());
    gtk_box_pack_start(GTK_BOX(label), close, FALSE, FALSE, 0);
    gtk_widget_show_all(label);
    gtk_notebook_insert_page(GTK_NOTEBOOK(notebook), tab->widget(), label, position);
    gtk_container_child_set(GTK_CONTAINER(notebook), tab->widget(), "tab-expand", TRUE, nullptr);
    gtk_notebook_set_show_tabs(GTK_NOTEBOOK(notebook), tabs.size() >= 2 ? TRUE : FALSE);
    gtk_widget_show(tab->widget());
}

void MainWindow::remove(Tab& tab) {
    const int index = indexOf(tab);
    if (index < 0) {
        return;
    }
    tabs.erase(tabs.begin() + index);
    tab.owner = nullptr;
    gtk_container_remove(GTK_CONTAINER(notebook), tab.widget());
    gtk_notebook_set_show_tabs(GTK_NOTEBOOK(notebook), tabs.size() >= 2 ? TRUE : FALSE);
}

void MainWindow::select(const Tab& tab) {
    const int index = indexOf(tab);
    if (index >= 0) {
        gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), index);
    }
}

std::shared_ptr<Tab> MainWindow::currentTab() const {
    const int page = gtk_notebook_get_current_page(GTK_NOTEBOOK(notebook));
    GtkWidget* child = page < 0 ? nullptr : gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook), page);
    for (const auto& tab : tabs) {
        if (tab->widget() == child) {
            return tab;
        }
    }
    return tabs.empty() ? nullptr : tabs.front();
}

int MainWindow::indexOf(const Tab& tab) const {
    for (std::size_t index = 0; index < tabs.size(); ++index) {
        if (tabs[index].get() == &tab) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

DesktopApplication::DesktopApplication(ui::App app, DesktopWindowRealizer& realizer)
    : implementation_(std::make_unique<Implementation>(std::move(app), realizer)) {}

DesktopApplication::~DesktopApplication() = default;

int DesktopApplication::run(int argc, char** argv) {
    return implementation_->run(argc, argv);
}

bool DesktopApplication::launch() {
    return implementation_->launch();
}

std::vector<std::shared_ptr<appkit::Window>> DesktopApplication::windows() const {
    return implementation_->windows();
}

std::shared_ptr<appkit::Window> DesktopApplication::keyWindow() const {
    return implementation_->keyWindow();
}

void DesktopApplication::terminate() {
    implementation_->terminate();
}

}  // namespace desktop
