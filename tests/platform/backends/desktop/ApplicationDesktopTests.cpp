// Runs an application of the window group, the Settings scene and a main menu on a real
// GtkApplication (ctest runs it under Xvfb with a session bus of its own) and works it as a user and
// the desktop would: keyboard shortcuts, a second launch with a link, an activity handed over on the
// bus, the Settings item chosen twice.
#include "platform/kits/appkit/Application.hpp"
#include "platform/kits/appkit/WindowController.hpp"
#include "platform/kits/appkit/Workspace.hpp"
#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/combine/Published.hpp"
#include "platform/backends/desktop/DesktopApplicationService.hpp"
#include "platform/backends/desktop/DesktopBackend.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/UserActivity.hpp"
#include "platform/kits/scenes/FocusedValues.hpp"
#include "platform/kits/ui/Shape.hpp"
#include "platform/kits/ui/TextView.hpp"
#include "tests/support/GtkPixels.hpp"
#include "tests/support/GtkWidgetSearch.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/Subprocess.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::HasSubstr;
using testsupport::MainLoop;

constexpr const char* applicationId = "org.example.KestrovaDesktopTest";

std::string programPath;

class Zoom final : public combine::ObservableObject {
public:
    combine::Published<double> pageZoom{*this, 1.0};
};

Zoom& zoom() {
    static Zoom* const shared = new Zoom;
    return *shared;
}

// The titles of the windows' pages, by the number of the window; a window without one names none.
class PageTitles final : public combine::ObservableObject {
public:
    combine::Published<std::map<int, std::string>> byWindow{*this, {}};
};

PageTitles& pageTitles() {
    static PageTitles* const shared = new PageTitles;
    return *shared;
}

// What the windows were handed, by the number of the window.
std::map<int, std::vector<std::string>>& openedURLs() {
    static auto* const opened = new std::map<int, std::vector<std::string>>;
    return *opened;
}
std::map<int, int>& reloads() {
    static auto* const counted = new std::map<int, int>;
    return *counted;
}

class RecordingContent final : public ui::SceneContent {
public:
    explicit RecordingContent(const std::map<std::string, std::string>& restored) : number_(++made_) {
        if (const auto found = restored.find("url"); found != restored.end()) {
            url_ = found->second;
        }
        std::cout << "window " << number_ << (url_.empty() ? "" : " at " + url_) << std::endl;
    }

    ui::View body() override {
        auto view = ui::View(ui::Text::verbatim("Window " + std::to_string(number_)).font(ui::Font::system(30)).foregroundColor(ui::Color::white()))
                        .focusedSceneValue("viewToReload", std::function<void()>([number = number_] { ++reloads()[number]; }));
        const auto& titles = pageTitles().byWindow.get();
        if (const auto title = titles.find(number_); title != titles.end()) {
            view = view.annotation("navigationTitle", title->second);
        }
        return view.observing(pageTitles());
    }
    // A link whose text says "nowhere" shows nothing, as one of an unknown journal.
    bool openURL(const foundation::URL& url) override {
        if (url.absoluteString().find("nowhere") != std::string::npos) {
            return false;
        }
        url_ = url.absoluteString();
        openedURLs()[number_].push_back(url_);
        return true;
    }
    std::map<std::string, std::string> sceneStorage() const override {
        return url_.empty() ? std::map<std::string, std::string>{} : std::map<std::string, std::string>{{"url", url_}};
    }

private:
    static inline int made_ = 0;
    int number_;
    std::string url_;
};

// Opens a new window and moves it into the key window as a tab, as the application's "New Tab" does.
void openNewTab() {
    const auto key = appkit::Application::shared().keyWindow();
    if (!key || key->windowController() == nullptr) {
        return;
    }
    key->windowController()->newWindowForTab();
    const auto added = appkit::Application::shared().keyWindow();
    if (added && added != key) {
        key->addTabbedWindow(added, appkit::WindowOrderingMode::above);
    }
}

ui::CommandButton button(std::string title, std::function<void()> action, std::optional<ui::KeyboardShortcut> shortcut, bool disabled = false) {
    return ui::CommandButton{std::move(title), std::move(action), std::move(shortcut), disabled};
}

ui::App testApp() {
    ui::App app;
    app.identifier = applicationId;
    app.name = "Kestrova";
    app.version = "1.2.3";
    app.windowGroup.content = [](const std::map<std::string, std::string>& restored) {
        return std::make_unique<RecordingContent>(restored);
    };
    app.windowGroup.minimumSize = {240, 400};
    app.windowGroup.idealSize = {800, 800};
    app.settings = ui::SettingsScene{[] { return ui::View(ui::Text("General")).padding(); }, {375, 150}, "Settings"};
    app.commands = [] {
        using ui::CommandGroupPlacement;
        using ui::CommandGroupPosition;
        auto& page = zoom().pageZoom;
        const auto reload = ui::FocusedValues::shared().value<std::function<void()>>("viewToReload");
        return std::vector<ui::CommandGroup>{
            {CommandGroupPosition::after, CommandGroupPlacement::newItem, {button("New Tab", openNewTab, ui::KeyboardShortcut{"t"})}},
            {CommandGroupPosition::replacing, CommandGroupPlacement::help, {button("Requests and Bugs", [] {}, std::nullopt)}},
            {CommandGroupPosition::after, CommandGroupPlacement::toolbar,
             {button("Actual Size", [&page] { page = 1.0; }, ui::KeyboardShortcut{"0"}, page.get() == 1.0),
              button("Zoom In", [&page] { page = std::min(page.get() + 0.1, 2.0); }, ui::KeyboardShortcut{"+"}, page.get() >= 2.0),
              ui::CommandDivider{}}},
            {CommandGroupPosition::before, CommandGroupPlacement::toolbar,
             {button("Reload", [reload] { if (reload) { (*reload)(); } }, ui::KeyboardShortcut{"r"})}},
        };
    };
    app.commandSources = {&zoom()};
    return app;
}

class RecordingDelegate final : public appkit::ApplicationDelegate {
public:
    void applicationDidFinishLaunching() override { ++launches; }
    void applicationWillBecomeActive() override { ++activations; }
    bool continueUserActivity(const intents::UserActivity& activity) override {
        continued.push_back(activity.activityType());
        return true;
    }
    void didRegisterForRemoteNotifications(const foundation::Data&) override {}
    bool applicationShouldTerminateAfterLastWindowClosed() override { return terminatesAfterLastWindow; }

    bool terminatesAfterLastWindow = false;
    int launches = 0;
    int activations = 0;
    std::vector<std::string> continued;
};

RecordingDelegate& delegate() {
    static auto* const shared = new RecordingDelegate;
    return *shared;
}

desktop::DesktopApplicationService& service() {
    return static_cast<desktop::DesktopApplicationService&>(appkit::ApplicationService::installed());
}

GApplication* gtkApplication() {
    return g_application_get_default();
}

std::vector<GtkWidget*> toplevelsTitled(const std::string& title) {
    std::vector<GtkWidget*> found;
    GList* windows = gtk_window_list_toplevels();
    for (GList* each = windows; each != nullptr; each = each->next) {
        const gchar* text = gtk_window_get_title(GTK_WINDOW(each->data));
        if (gtk_widget_get_visible(GTK_WIDGET(each->data)) && text != nullptr && title == text) {
            found.push_back(GTK_WIDGET(each->data));
        }
    }
    g_list_free(windows);
    return found;
}

GtkWidget* mainWindow() {
    GtkWindow* window = gtk_application_get_active_window(GTK_APPLICATION(gtkApplication()));
    if (window == nullptr) {
        GList* windows = gtk_application_get_windows(GTK_APPLICATION(gtkApplication()));
        window = windows ? GTK_WINDOW(windows->data) : nullptr;
    }
    return GTK_WIDGET(window);
}

GtkNotebook* notebookOf(GtkWidget* window) {
    return GTK_NOTEBOOK(gtk_bin_get_child(GTK_BIN(window)));
}

std::string titleOf(GtkWidget* window) {
    const gchar* title = gtk_window_get_title(GTK_WINDOW(window));
    return title != nullptr ? title : "(none)";
}

// The text of a tab's label, beside its close button.
std::string tabLabel(GtkWidget* window, int index) {
    GtkNotebook* tabs = notebookOf(window);
    GtkWidget* label = gtk_notebook_get_tab_label(tabs, gtk_notebook_get_nth_page(tabs, index));
    GList* parts = gtk_container_get_children(GTK_CONTAINER(label));
    const std::string text = gtk_label_get_text(GTK_LABEL(parts->data));
    g_list_free(parts);
    return text;
}

// The screen as it shows once it has drawn, for a person to look at when KESTROVA_PICTURES_DIR is set.
void screenshot(const std::string& name) {
    if (std::getenv("KESTROVA_PICTURES_DIR") != nullptr) {
        MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(300));
        testsupport::saveScreen(name);
    }
}

// Runs the main loop until the child has ended: a ticking source wakes the loop up to look, since a
// child's end is no event of the loop.
testsupport::Subprocess::Outcome finish(testsupport::Subprocess& child) {
    const guint tick = g_timeout_add(20, +[](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return !child.running(); }));
    g_source_remove(tick);
    return child.wait();
}

// Menu titles and item labels as "Menu/Item", in order.
void collect(GMenuModel* model, const std::string& prefix, std::vector<std::string>& labels, std::map<std::string, std::string>& actions) {
    for (int index = 0; index < g_menu_model_get_n_items(model); ++index) {
        gchar* label = nullptr;
        gchar* action = nullptr;
        g_menu_model_get_item_attribute(model, index, G_MENU_ATTRIBUTE_LABEL, "s", &label);
        g_menu_model_get_item_attribute(model, index, G_MENU_ATTRIBUTE_ACTION, "s", &action);
        const std::string name = prefix + (label ? label : "");
        if (label != nullptr) {
            labels.push_back(name);
        }
        if (action != nullptr) {
            actions[name] = action;
        }
        if (GMenuModel* section = g_menu_model_get_item_link(model, index, G_MENU_LINK_SECTION)) {
            collect(section, prefix, labels, actions);
            g_object_unref(section);
        }
        if (GMenuModel* submenu = g_menu_model_get_item_link(model, index, G_MENU_LINK_SUBMENU)) {
            collect(submenu, name + "/", labels, actions);
            g_object_unref(submenu);
        }
        g_free(label);
        g_free(action);
    }
}

// The application runs once for all cases, in this order, as one session of a user.
class ApplicationDesktopTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new testsupport::ScratchDirectory;
        setenv("XDG_STATE_HOME", (scratch->path() / "state").c_str(), 1);
        appkit::Application::shared().setDelegate(&delegate());
        ASSERT_TRUE(service().launch(testApp()));
        ASSERT_TRUE(MainLoop::iterateUntil([] { return delegate().launches == 1 && appkit::Application::shared().windows().size() == 1; }));
    }

    static std::string storedScenes() { return testsupport::ScratchDirectory::read(scratch->path() / "state" / "kestrova" / "scenes"); }

    // Presses and releases the key on the window, as the X server would deliver it.
    static void keyPress(GtkWidget* window, guint key, GdkModifierType modifiers) {
        GdkKeymapKey* keys = nullptr;
        gint count = 0;
        ASSERT_TRUE(gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()), key, &keys, &count));
        const guint16 code = static_cast<guint16>(keys[0].keycode);
        g_free(keys);
        for (const GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
            GdkEvent* event = gdk_event_new(type);
            event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
            event->key.send_event = TRUE;
            event->key.time = GDK_CURRENT_TIME;
            event->key.state = modifiers;
            event->key.keyval = key;
            event->key.hardware_keycode = code;
            gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
            gtk_main_do_event(event);
            gdk_event_free(event);
        }
    }

    static inline testsupport::ScratchDirectory* scratch = nullptr;
};

TEST_F(ApplicationDesktopTest, TheFirstWindowOpensAtItsDefaultSizeAndKeepsItsMinimum) {
    GtkWidget* window = mainWindow();
    ASSERT_NE(window, nullptr);
    int width = 0;
    int height = 0;
    gtk_window_get_default_size(GTK_WINDOW(window), &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 800);
    GtkRequisition minimum;
    gtk_widget_get_preferred_size(GTK_WIDGET(notebookOf(window)), &minimum, nullptr);
    EXPECT_EQ(minimum.width, 240);
    EXPECT_EQ(minimum.height, 400);
    // One tab shows no tab bar.
    EXPECT_FALSE(gtk_notebook_get_show_tabs(notebookOf(window)));
    // A page that names no title leaves the window the application's name.
    EXPECT_EQ(titleOf(window), "Kestrova");
    EXPECT_STREQ(g_get_application_name(), "Kestrova");
    EXPECT_EQ(delegate().launches, 1);
    screenshot("main-window");
}

TEST_F(ApplicationDesktopTest, TheMenuBarHasTheStandardMenusWithTheCommandsAndTheirAccelerators) {
    GMenuModel* bar = gtk_application_get_menubar(GTK_APPLICATION(gtkApplication()));
    ASSERT_NE(bar, nullptr);
    std::vector<std::string> labels;
    std::map<std::string, std::string> actions;
    collect(bar, "", labels, actions);
    EXPECT_THAT(labels, ElementsAre("Kestrova", "Kestrova/About Kestrova", "Kestrova/Settings…", "Kestrova/Quit Kestrova",
                                    "File", "File/New Window", "File/New Tab", "File/Close",
                                    "Edit", "Edit/Undo", "Edit/Redo", "Edit/Cut", "Edit/Copy", "Edit/Paste", "Edit/Select All",
                                    "View", "View/Reload", "View/Actual Size", "View/Zoom In",
                                    "Window", "Window/Minimize", "Help", "Help/Requests and Bugs"));
    // GTK writes the Control modifier as <Primary>, the command modifier of this desktop.
    const auto accelerators = [](const std::string& action) {
        std::vector<std::string> result;
        gchar** found = gtk_application_get_accels_for_action(GTK_APPLICATION(gtkApplication()), action.c_str());
        for (gchar** each = found; *each != nullptr; ++each) {
            result.emplace_back(*each);
        }
        g_strfreev(found);
        return result;
    };
    EXPECT_THAT(accelerators(actions["File/New Tab"]), ElementsAre("<Primary>t"));
    EXPECT_THAT(accelerators(actions["View/Zoom In"]), ElementsAre("<Primary>plus", "<Primary>equal"));
    EXPECT_THAT(accelerators(actions["Kestrova/Settings…"]), ElementsAre("<Primary>comma"));
    EXPECT_THAT(accelerators(actions["Edit/Copy"]), ElementsAre("<Primary>c"));

    // The window shows the menu bar; open its View menu for the screenshot.
    const auto bars = testsupport::widgetsMatching(mainWindow(), [](GtkWidget* widget) { return GTK_IS_MENU_BAR(widget); });
    ASSERT_EQ(bars.size(), 1U);
    GList* items = gtk_container_get_children(GTK_CONTAINER(bars.front()));
    ASSERT_EQ(g_list_length(items), 6U);
    gtk_menu_shell_select_item(GTK_MENU_SHELL(bars.front()), GTK_WIDGET(g_list_nth_data(items, 3)));
    g_list_free(items);
    screenshot("view-menu");
    gtk_menu_shell_deactivate(GTK_MENU_SHELL(bars.front()));
}

TEST_F(ApplicationDesktopTest, DisabledItemsFollowTheirConditionsAtOnce) {
    const auto enabled = [](const std::string& action) {
        return g_action_group_get_action_enabled(G_ACTION_GROUP(gtkApplication()), action.c_str()) != FALSE;
    };
    // "Actual Size" is the first item of the third group.
    EXPECT_FALSE(enabled("command-2-0"));
    GtkWidget* window = mainWindow();
    keyPress(window, GDK_KEY_equal, GDK_CONTROL_MASK);
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return enabled("command-2-0"); }));
    EXPECT_DOUBLE_EQ(zoom().pageZoom.get(), 1.1);
    zoom().pageZoom = 2.0;
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return !enabled("command-2-1"); }));
    // The shortcut of a disabled item does nothing.
    keyPress(window, GDK_KEY_plus, static_cast<GdkModifierType>(GDK_CONTROL_MASK | GDK_SHIFT_MASK));
    EXPECT_DOUBLE_EQ(zoom().pageZoom.get(), 2.0);
    g_action_group_activate_action(G_ACTION_GROUP(gtkApplication()), "command-2-0", nullptr);
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return !enabled("command-2-0"); }));
    EXPECT_DOUBLE_EQ(zoom().pageZoom.get(), 1.0);
}

TEST_F(ApplicationDesktopTest, ControlTOpensATabOfTheKeyWindowThatBecomesKey) {
    GtkWidget* window = mainWindow();
    const auto first = appkit::Application::shared().keyWindow();
    ASSERT_NE(first, nullptr);
    keyPress(window, GDK_KEY_t, GDK_CONTROL_MASK);
    ASSERT_TRUE(MainLoop::iterateUntil([] { return appkit::Application::shared().windows().size() == 2; }));
    EXPECT_EQ(gtk_notebook_get_n_pages(notebookOf(window)), 2);
    EXPECT_TRUE(gtk_notebook_get_show_tabs(notebookOf(window)));
    EXPECT_EQ(gtk_notebook_get_current_page(notebookOf(window)), 1);
    const auto key = appkit::Application::shared().keyWindow();
    EXPECT_NE(key, first);
    EXPECT_EQ(appkit::Application::shared().windows().front(), key);
    // Still one window on the screen; the scenes of both tabs are kept.
    EXPECT_EQ(gtk_application_get_windows(GTK_APPLICATION(gtkApplication()))->next, nullptr);
    EXPECT_TRUE(MainLoop::iterateUntil([] { return !storedScenes().empty(); }));
    screenshot("two-tabs");
}

TEST_F(ApplicationDesktopTest, TheWindowHasItsShownTabsTitleAndEachTabLabelItsOwn) {
    GtkWidget* window = mainWindow();
    GtkNotebook* tabs = notebookOf(window);
    ASSERT_EQ(gtk_notebook_get_n_pages(tabs), 2);
    ASSERT_EQ(gtk_notebook_get_current_page(tabs), 1);
    EXPECT_EQ(tabLabel(window, 0), "Kestrova");
    EXPECT_EQ(tabLabel(window, 1), "Kestrova");

    // The second window became the second tab.
    pageTitles().byWindow = {{2, "Ann's journal"}};
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return titleOf(window) == "Ann's journal"; })) << titleOf(window);
    EXPECT_EQ(tabLabel(window, 1), "Ann's journal");
    EXPECT_EQ(tabLabel(window, 0), "Kestrova");
    screenshot("titled-tab");
    gtk_notebook_set_current_page(tabs, 0);
    EXPECT_EQ(titleOf(window), "Kestrova");
    gtk_notebook_set_current_page(tabs, 1);
    EXPECT_EQ(titleOf(window), "Ann's journal");

    // A page whose title is empty names none.
    pageTitles().byWindow = {{2, ""}};
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return titleOf(window) == "Kestrova"; })) << titleOf(window);
    EXPECT_EQ(tabLabel(window, 1), "Kestrova");
}

TEST_F(ApplicationDesktopTest, ControlNOpensAWindowThatCascadesFromTheKeyWindow) {
    GtkWidget* key = mainWindow();
    int keyX = 0;
    int keyY = 0;
    gtk_window_get_position(GTK_WINDOW(key), &keyX, &keyY);
    const int step = gtk_widget_get_allocated_height(gtk_window_get_titlebar(GTK_WINDOW(key)));
    ASSERT_GT(step, 0);
    const std::size_t before = appkit::Application::shared().windows().size();
    keyPress(key, GDK_KEY_n, GDK_CONTROL_MASK);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return appkit::Application::shared().windows().size() == before + 1; }));
    GtkWidget* added = mainWindow();
    ASSERT_NE(added, key);
    // Down and to the right of the key window by the height of its title bar, on the screen.
    const auto position = [added] {
        std::array<int, 2> shown{};
        gtk_window_get_position(GTK_WINDOW(added), &shown[0], &shown[1]);
        return shown;
    };
    MainLoop::iterateUntil([&] { return gtk_widget_get_mapped(added) && position() == std::array<int, 2>{keyX + step, keyY + step}; });
    EXPECT_EQ(position(), (std::array<int, 2>{keyX + step, keyY + step}));
    EXPECT_EQ(titleOf(added), "Kestrova");
    screenshot("cascaded-window");
    appkit::Application::shared().keyWindow()->close();
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return appkit::Application::shared().windows().size() == before; }));
}

TEST_F(ApplicationDesktopTest, ReloadReachesTheFocusedWindowOnly) {
    reloads().clear();
    GtkWidget* window = mainWindow();
    ASSERT_TRUE(MainLoop::iterateUntil([] { return ui::FocusedValues::shared().value<std::function<void()>>("viewToReload").has_value(); }));
    keyPress(window, GDK_KEY_r, GDK_CONTROL_MASK);
    ASSERT_TRUE(MainLoop::iterateUntil([] { return !reloads().empty(); }));
    EXPECT_EQ(reloads().size(), 1U);
    // The window took the focus from no window of the application: the application became active.
    EXPECT_EQ(delegate().activations, 1);
}

TEST_F(ApplicationDesktopTest, ASecondLaunchHandsItsLinkToTheKeyWindowOfTheFirstAndEnds) {
    openedURLs().clear();
    const std::string link = "kestrova:///open?url=https%3A%2F%2Fkestrova.example%2Fann%2Fdaily";
    testsupport::Subprocess second({programPath, "--second-instance", link});
    const auto outcome = finish(second);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    ASSERT_EQ(openedURLs().size(), 1U);
    EXPECT_THAT(openedURLs().begin()->second, ElementsAre(link));
    // Still the same windows: the link went to one of them.
    EXPECT_EQ(appkit::Application::shared().windows().size(), 2U);
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return storedScenes().find("kestrova.example") != std::string::npos; }));
}

TEST_F(ApplicationDesktopTest, OpeningSettingsTwiceShowsOneWindow) {
    keyPress(mainWindow(), GDK_KEY_comma, GDK_CONTROL_MASK);
    ASSERT_TRUE(MainLoop::iterateUntil([] { return toplevelsTitled("Settings").size() == 1; }));
    g_action_group_activate_action(G_ACTION_GROUP(gtkApplication()), "settings", nullptr);
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(toplevelsTitled("Settings").size(), 1U);
    screenshot("settings");
    // The Settings window is no window of the window group.
    EXPECT_EQ(appkit::Application::shared().windows().size(), 2U);
    gtk_widget_destroy(toplevelsTitled("Settings").front());
}

TEST_F(ApplicationDesktopTest, TheAboutWindowShowsTheApplicationsIconNameAndVersion) {
    g_action_group_activate_action(G_ACTION_GROUP(gtkApplication()), "about", nullptr);
    GtkWidget* about = nullptr;
    ASSERT_TRUE(MainLoop::iterateUntil([&] {
        GList* windows = gtk_window_list_toplevels();
        for (GList* each = windows; each != nullptr; each = each->next) {
            if (GTK_IS_ABOUT_DIALOG(each->data) && gtk_widget_get_mapped(GTK_WIDGET(each->data))) {
                about = GTK_WIDGET(each->data);
            }
        }
        g_list_free(windows);
        return about != nullptr;
    }));
    const auto shown = [about](const char* text) {
        return !testsupport::widgetsMatching(about, [text](GtkWidget* widget) {
                    return GTK_IS_LABEL(widget) && gtk_widget_get_mapped(widget) && std::string(gtk_label_get_text(GTK_LABEL(widget))) == text;
                }).empty();
    };
    EXPECT_TRUE(shown("Kestrova"));
    EXPECT_TRUE(shown("1.2.3"));

    // The logo is the shipped icon: its orange face, on the screen, at the top of the picture.
    const auto images = testsupport::widgetsMatching(about, [](GtkWidget* widget) { return GTK_IS_IMAGE(widget) && gtk_widget_get_mapped(widget); });
    ASSERT_FALSE(images.empty());
    GtkWidget* logo = images.front();
    const int x = gtk_widget_get_allocated_width(logo) / 2;
    const int y = (gtk_widget_get_allocated_height(logo) - 128) / 2 + 12;
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return testsupport::screenPixelAt(logo, x, y)[0] > 0; }));
    const auto face = testsupport::screenPixelAt(logo, x, y);
    EXPECT_GT(face[0], 220);
    EXPECT_GT(face[1], 110);
    EXPECT_LT(face[1], 160);
    EXPECT_LT(face[2], 120);
    screenshot("about");
    gtk_widget_destroy(about);
}

// Calls the application's action "continue-activity" over the bus, as another program would.
testsupport::Subprocess::Outcome continueActivity(const std::string& archive) {
    gchar* quoted = g_variant_print(g_variant_new_string(archive.c_str()), FALSE);
    const std::string parameter = std::string("[<") + quoted + ">]";
    g_free(quoted);
    testsupport::Subprocess call({"/usr/bin/gdbus", "call", "--session", "--dest", applicationId, "--object-path",
                                  "/org/example/KestrovaDesktopTest", "--method", "org.gtk.Actions.Activate",
                                  "continue-activity", parameter, "{}"});
    return finish(call);
}

TEST_F(ApplicationDesktopTest, AnActivityHandedOverOnTheBusReachesTheDelegateAndADamagedOneDoesNot) {
    const auto damaged = continueActivity(R"({"$archiver":"KeyedArchive","$version":1,"$top":{"$class":"Shell"}})");
    EXPECT_EQ(damaged.exitCode, 0) << damaged.errors;
    EXPECT_TRUE(delegate().continued.empty());

    const intents::UserActivity activity("NSUserActivityTypeBrowsingWeb");
    const auto outcome = continueActivity(std::string(intents::KeyedArchiver::archivedData(activity).view()));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_THAT(delegate().continued, ElementsAre("NSUserActivityTypeBrowsingWeb"));
}

TEST_F(ApplicationDesktopTest, TheNextLaunchRestoresOneWindowPerKeptSceneWithItsValues) {
    const std::string before = storedScenes();
    // Another instance of the application, as a relaunch would start it, on the same state directory.
    testsupport::Subprocess relaunch({programPath, "--relaunch"});
    const auto outcome = finish(relaunch);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_THAT(outcome.output, HasSubstr("window 1\n"));
    EXPECT_THAT(outcome.output, HasSubstr("window 2 at kestrova:///open?url=https%3A%2F%2Fkestrova.example%2Fann%2Fdaily\n"));
    // Quitting keeps the scenes as they were.
    EXPECT_EQ(storedScenes(), before);
}

TEST_F(ApplicationDesktopTest, ClosingATabForgetsItsSceneAndKeepsTheOther) {
    auto windows = appkit::Application::shared().windows();
    ASSERT_EQ(windows.size(), 2U);
    windows.front()->close();
    EXPECT_EQ(appkit::Application::shared().windows().size(), 1U);
    EXPECT_FALSE(gtk_notebook_get_show_tabs(notebookOf(mainWindow())));
    const std::string stored = storedScenes();
    EXPECT_EQ(std::count(stored.begin(), stored.end(), '['), 1) << stored;
}

// The style providers alive: GtkCssProvider's constructed and finalize, counted.
struct LiveStyleProviders {
    static inline int count = 0;
    static inline void (*constructed)(GObject*) = nullptr;
    static inline void (*finalize)(GObject*) = nullptr;

    LiveStyleProviders() {
        auto* type = G_OBJECT_CLASS(g_type_class_ref(GTK_TYPE_CSS_PROVIDER));
        constructed = type->constructed;
        finalize = type->finalize;
        type->constructed = +[](GObject* object) { ++count; constructed(object); };
        type->finalize = +[](GObject* object) { --count; finalize(object); };
    }
    ~LiveStyleProviders() {
        auto* type = G_OBJECT_CLASS(g_type_class_peek(GTK_TYPE_CSS_PROVIDER));
        type->constructed = constructed;
        type->finalize = finalize;
        g_type_class_unref(type);
    }
};

// Windows come and go all session long: each leaves nothing behind on the screen's styles.
TEST_F(ApplicationDesktopTest, AWindowOpenedAndClosedLeavesNoStyleBehind) {
    const auto windowCount = [] { return appkit::Application::shared().windows().size(); };
    const std::size_t kept = windowCount();
    const LiveStyleProviders providers;
    for (int round = 0; round < 3; ++round) {
        g_action_group_activate_action(G_ACTION_GROUP(gtkApplication()), "new-window", nullptr);
        ASSERT_TRUE(MainLoop::iterateUntil([&] { return windowCount() == kept + 1; }));
        appkit::Application::shared().keyWindow()->close();
        ASSERT_TRUE(MainLoop::iterateUntil([&] { return windowCount() == kept; }));
    }
    EXPECT_EQ(LiveStyleProviders::count, 0);
}

// What the application opens for itself (a Control-click, a Help item, a notification) comes back to
// it in-process, whatever handler the desktop has for the scheme, and shows in a new tab of the key
// window, so the page the person was on stays as it was.
TEST_F(ApplicationDesktopTest, AnOwnLinkTheApplicationOpensShowsInANewTabOfTheKeyWindow) {
    openedURLs().clear();
    const auto before = appkit::Application::shared().windows();
    ASSERT_FALSE(before.empty());
    before.front()->makeKeyAndOrderFront();
    const auto key = appkit::Application::shared().keyWindow();
    ASSERT_NE(key, nullptr);
    GtkWidget* window = mainWindow();
    const int pages = gtk_notebook_get_n_pages(notebookOf(window));

    const std::string link = "kestrova:///open?url=https%3A%2F%2Fkestrova.example%2Fhelp";
    EXPECT_TRUE(appkit::Workspace::shared().open(*foundation::URL::fromString(link)));
    ASSERT_EQ(appkit::Application::shared().windows().size(), before.size() + 1);
    EXPECT_EQ(gtk_notebook_get_n_pages(notebookOf(window)), pages + 1);
    const auto added = appkit::Application::shared().keyWindow();
    EXPECT_NE(added, key);
    // Only the new window got the link.
    ASSERT_EQ(openedURLs().size(), 1U);
    EXPECT_THAT(openedURLs().begin()->second, ElementsAre(link));

    // A link that shows nothing opens nothing.
    EXPECT_TRUE(appkit::Workspace::shared().open(*foundation::URL::fromString("kestrova:///nowhere")));
    EXPECT_EQ(appkit::Application::shared().windows().size(), before.size() + 1);
    added->close();
    EXPECT_EQ(appkit::Application::shared().windows().size(), before.size());
}

// Signing out closes every window and opens the sign-in page: the application keeps running with
// exactly that one window, though closing the last window ends it.
TEST_F(ApplicationDesktopTest, AnOwnLinkOpenedAfterTheLastWindowClosedOpensAWindowAndTheApplicationGoesOn) {
    openedURLs().clear();
    delegate().terminatesAfterLastWindow = true;
    for (const auto& window : appkit::Application::shared().windows()) {
        window->close();
    }
    ASSERT_TRUE(appkit::Application::shared().windows().empty());
    const std::string link = "kestrova:///open?url=https%3A%2F%2Fkestrova.example%2Flogin";
    EXPECT_TRUE(appkit::Workspace::shared().open(*foundation::URL::fromString(link)));
    // Long enough for the question after the last window to have been asked and answered.
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(200));
    delegate().terminatesAfterLastWindow = false;
    ASSERT_EQ(appkit::Application::shared().windows().size(), 1U);
    EXPECT_FALSE(g_application_get_is_remote(gtkApplication()));
    ASSERT_EQ(openedURLs().size(), 1U);
    EXPECT_THAT(openedURLs().begin()->second, ElementsAre(link));
    EXPECT_TRUE(MainLoop::iterateUntil([] { return storedScenes().find("login") != std::string::npos; }));
}

}  // namespace

int main(int argc, char** argv) {
    programPath = fs::canonical("/proc/self/exe").string();
    try {
        desktop::installAll(desktop::ApplicationIdentity{applicationId, "kestrova"});
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    if (argc >= 2 && std::string(argv[1]) == "--second-instance") {
        // The same application started again: hands its arguments to the running one and ends.
        argv[1] = argv[0];
        return appkit::Application::shared().run(testApp(), argc - 1, argv + 1);
    }
    if (argc >= 2 && std::string(argv[1]) == "--relaunch") {
        // A launch of the application under another name on the bus, with the windows kept by the
        // test's instance; it quits as soon as they are open.
        auto app = testApp();
        app.identifier = std::string(applicationId) + "Relaunch";
        if (!service().launch(std::move(app)) ||
            !MainLoop::iterateUntil([] { return !appkit::Application::shared().windows().empty(); })) {
            return 1;
        }
        appkit::Application::shared().terminate();
        return 0;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
