// The tray item's controller on the desktop backend, with an application running on a real
// GtkApplication (ctest runs this under Xvfb with a session bus of its own). The test plays the panel:
// it owns the StatusNotifier watcher's name and calls the item's methods over the bus, as a panel
// does on the user's clicks.
#include "kestrova/statusbar/StatusBarController.hpp"

#include "kestrova/state/AppState.hpp"
#include "platform/kits/appkit/Application.hpp"
#include "platform/backends/desktop/DesktopApplicationService.hpp"
#include "platform/backends/desktop/DesktopBackend.hpp"
#include "platform/kits/ui/TextView.hpp"
#include "tests/platform/backends/desktop/FakeStatusNotifierWatcher.hpp"
#include "tests/support/GtkWidgetSearch.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gdk/gdkx.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using testsupport::MainLoop;

class PlainContent final : public ui::SceneContent {
public:
    ui::View body() override { return ui::View(ui::Text::verbatim("Kestrova")); }
};

ui::App trayTestApp() {
    ui::App app;
    app.identifier = "org.example.KestrovaTrayTest";
    app.name = "Kestrova";
    app.windowGroup.content = [](const std::map<std::string, std::string>&) { return std::make_unique<PlainContent>(); };
    app.windowGroup.minimumSize = {240, 200};
    app.windowGroup.idealSize = {400, 300};
    app.commands = [] { return std::vector<ui::CommandGroup>{}; };
    return app;
}

desktop::DesktopApplicationService& applicationService() {
    return static_cast<desktop::DesktopApplicationService&>(appkit::ApplicationService::installed());
}

// The application's one window on the screen, or null.
GtkWindow* applicationWindow() {
    GList* windows = gtk_application_get_windows(GTK_APPLICATION(g_application_get_default()));
    return windows != nullptr ? GTK_WINDOW(windows->data) : nullptr;
}

// The menus shown on the screen now.
std::vector<GtkMenu*> shownMenus() {
    std::vector<GtkMenu*> menus;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* each = toplevels; each != nullptr; each = each->next) {
        GtkWidget* child = gtk_bin_get_child(GTK_BIN(each->data));
        if (gtk_widget_get_mapped(GTK_WIDGET(each->data)) && child != nullptr && GTK_IS_MENU(child)) {
            menus.push_back(GTK_MENU(child));
        }
    }
    g_list_free(toplevels);
    return menus;
}

// The application runs once for all cases, in this order, with the tray item shown from the start.
class StatusBarDesktopTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        watcher = new desktoptest::FakeStatusNotifierWatcher;
        ASSERT_TRUE(applicationService().launch(trayTestApp()));
        ASSERT_TRUE(MainLoop::iterateUntil([] { return appkit::Application::shared().windows().size() == 1; }));
        AppState::shared().statusBarIcon = true;
        controller = new StatusBarController;
        ASSERT_TRUE(MainLoop::iterateUntil([] { return !watcher->itemPath.empty(); }));
    }

    // Calls a method of the item with the pointer's position, as a panel does.
    static void call(const char* method, int x = 0, int y = 0) {
        GVariant* reply = watcher->peer.call(watcher->itemSender, watcher->itemPath, "org.kde.StatusNotifierItem",
                                             method, g_variant_new("(ii)", x, y));
        ASSERT_NE(reply, nullptr);
        g_variant_unref(reply);
    }

    static std::string text(GVariant* value) {
        std::string result = value != nullptr ? g_variant_get_string(value, nullptr) : "(none)";
        if (value != nullptr) {
            g_variant_unref(value);
        }
        return result;
    }

    static inline desktoptest::FakeStatusNotifierWatcher* watcher = nullptr;
    static inline StatusBarController* controller = nullptr;
};

TEST_F(StatusBarDesktopTest, ThePanelNamesTheItemKestrovaAndSendsItsLeftClickAsActivate) {
    EXPECT_EQ(text(watcher->property("Title")), "Kestrova");
    EXPECT_EQ(text(watcher->property("Id")), "kestrova");
    GVariant* toolTip = watcher->property("ToolTip");
    ASSERT_NE(toolTip, nullptr);
    const gchar* toolTipTitle = nullptr;
    g_variant_get(toolTip, "(&s@a(iiay)&s&s)", nullptr, nullptr, &toolTipTitle, nullptr);
    EXPECT_STREQ(toolTipTitle, "Kestrova");
    g_variant_unref(toolTip);
    GVariant* isMenu = watcher->property("ItemIsMenu");
    ASSERT_NE(isMenu, nullptr);
    EXPECT_FALSE(g_variant_get_boolean(isMenu));
    g_variant_unref(isMenu);
}

TEST_F(StatusBarDesktopTest, ALeftClickBringsTheWindowForwardEvenAfterTheUserTurnedToAnotherApplication) {
    GtkWindow* window = applicationWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(window)) != FALSE; }));
    GdkWindow* surface = gtk_widget_get_window(GTK_WIDGET(window));
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return gdk_x11_get_server_time(surface) > 1; }));
    // The user last used the application just before giving the focus to another application's
    // window. That window is this process's, but the X server's rule for the focus (a request stamped
    // earlier than the last change of focus is refused) is the same for every client.
    const guint32 now = gdk_x11_get_server_time(surface);
    gdk_x11_window_set_user_time(surface, now - 1);
    GtkWidget* other = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(other), "Another application");
    gtk_widget_show_all(other);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return gtk_widget_get_mapped(other) != FALSE; }));
    gtk_window_present_with_time(GTK_WINDOW(other), now);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return gtk_window_is_active(GTK_WINDOW(other)) != FALSE; }));
    EXPECT_FALSE(gtk_window_is_active(window));

    call("Activate", 12, 3);
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return gtk_window_is_active(window) != FALSE; }));
    EXPECT_FALSE(gtk_window_is_active(GTK_WINDOW(other)));
    gtk_widget_destroy(other);
}

TEST_F(StatusBarDesktopTest, ContextMenuOpensTheItemsMenuAtThePointerWhereChoosingAnEntryPerformsIt) {
    // The menu as it is when it opens, with an entry of the test's own to choose.
    bool chosen = false;
    controller->statusItemMenu()->addItem(
        std::make_shared<appkit::MenuItem>("Chosen by the test", [&](appkit::MenuItem&) { chosen = true; }, ""));
    GdkDisplay* display = gdk_display_get_default();
    gdk_device_warp(gdk_seat_get_pointer(gdk_display_get_default_seat(display)), gdk_display_get_default_screen(display),
                    300, 200);

    call("ContextMenu", 300, 200);
    ASSERT_TRUE(MainLoop::iterateUntil([] { return shownMenus().size() == 1; }));
    GtkMenu* menu = shownMenus().front();
    GtkWidget* toplevel = gtk_widget_get_toplevel(GTK_WIDGET(menu));
    int x = 0;
    int y = 0;
    gdk_window_get_origin(gtk_widget_get_window(toplevel), &x, &y);
    EXPECT_EQ(x, 300);
    EXPECT_EQ(y, 200);

    const auto entries =
        testsupport::widgetsMatching(GTK_WIDGET(menu), [](GtkWidget* widget) { return GTK_IS_MENU_ITEM(widget); });
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_STREQ(gtk_menu_item_get_label(GTK_MENU_ITEM(entries[0])), "Quit Kestrova");
    guint key = 0;
    GdkModifierType modifiers{};
    gtk_accel_label_get_accel(GTK_ACCEL_LABEL(gtk_bin_get_child(GTK_BIN(entries[0]))), &key, &modifiers);
    EXPECT_EQ(key, static_cast<guint>(GDK_KEY_q));
    EXPECT_EQ(modifiers, GDK_CONTROL_MASK);
    if (const char* directory = std::getenv("KESTROVA_PICTURES_DIR")) {
        MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(300));
        GdkWindow* screen = gdk_get_default_root_window();
        GdkPixbuf* pixels =
            gdk_pixbuf_get_from_window(screen, 0, 0, gdk_window_get_width(screen), gdk_window_get_height(screen));
        ASSERT_NE(pixels, nullptr);
        gdk_pixbuf_save(pixels, (std::string(directory) + "/tray-context-menu.png").c_str(), "png", nullptr, nullptr);
        g_object_unref(pixels);
    }

    gtk_menu_shell_activate_item(GTK_MENU_SHELL(menu), entries[1], TRUE);
    EXPECT_TRUE(chosen);
    // The menu closed and is gone.
    EXPECT_TRUE(MainLoop::iterateUntil([] { return shownMenus().empty(); }));
}

TEST_F(StatusBarDesktopTest, AMenuThatSaysTwiceThatItClosedIsLetGoOnce) {
    call("ContextMenu", 300, 200);
    ASSERT_TRUE(MainLoop::iterateUntil([] { return shownMenus().size() == 1; }));
    GtkMenu* menu = shownMenus().front();
    gpointer alive = menu;
    g_object_add_weak_pointer(G_OBJECT(menu), &alive);
    // A menu shell may report its end more than once (a grab broken while it closes); the menu
    // was released at each report, the second time after it was gone.
    g_signal_emit_by_name(menu, "deactivate");
    g_signal_emit_by_name(menu, "deactivate");
    // The menu's own clean-up runs before anything of a lower priority.
    bool later = false;
    g_idle_add_full(
        G_PRIORITY_LOW, [](gpointer flag) -> gboolean { *static_cast<bool*>(flag) = true; return G_SOURCE_REMOVE; },
        &later, nullptr);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return later; }));
    EXPECT_EQ(alive, nullptr);
    EXPECT_TRUE(shownMenus().empty());
}

TEST_F(StatusBarDesktopTest, ALeftClickWithNoWindowOpenOpensOne) {
    for (const auto& window : appkit::Application::shared().windows()) {
        window->close();
    }
    ASSERT_TRUE(appkit::Application::shared().windows().empty());

    call("Activate");
    ASSERT_TRUE(MainLoop::iterateUntil([] { return appkit::Application::shared().windows().size() == 1; }));
    EXPECT_TRUE(MainLoop::iterateUntil([] {
        GtkWindow* window = applicationWindow();
        return window != nullptr && gtk_window_is_active(window) != FALSE;
    }));
}

}  // namespace
}  // namespace kestrova

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Settings and kept windows go to directories of this run's own, never the user's.
    testsupport::ScratchDirectory scratch;
    setenv("KESTROVA_APP_GROUP_DIR", scratch.path().c_str(), 1);
    setenv("XDG_STATE_HOME", (scratch / "state").c_str(), 1);
    try {
        desktop::installAll();
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return RUN_ALL_TESTS();
}
