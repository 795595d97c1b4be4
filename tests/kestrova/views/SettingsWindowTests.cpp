// The Settings window on a real GTK display (ctest runs it under Xvfb): the toggles are GTK check
// boxes bound to the application state, and the tabs are buttons in the title bar.
#include "platform/backends/desktop/DesktopBackend.hpp"
#include "platform/kits/scenes/WindowRealizer.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "kestrova/views/SettingsView.hpp"
#include "tests/support/GtkWidgetSearch.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using testsupport::buttonLabelled;
using testsupport::MainLoop;
using testsupport::widgetsMatching;

// A tab of the title bar: a button holding a label with that text.
GtkWidget* tabLabelled(GtkWidget* root, const std::string& label) {
    const auto found = widgetsMatching(root, [&](GtkWidget* widget) {
        return GTK_IS_RADIO_BUTTON(widget) && !widgetsMatching(widget, [&](GtkWidget* inner) {
            return GTK_IS_LABEL(inner) && label == gtk_label_get_text(GTK_LABEL(inner));
        }).empty();
    });
    return found.empty() ? nullptr : found.front();
}

GtkWidget* shownWindow() {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* each = windows; each != nullptr; each = each->next) {
        if (gtk_widget_get_mapped(GTK_WIDGET(each->data)) && GTK_IS_WINDOW(each->data) &&
            gtk_window_get_window_type(GTK_WINDOW(each->data)) == GTK_WINDOW_TOPLEVEL) {
            found = GTK_WIDGET(each->data);
        }
    }
    g_list_free(windows);
    return found;
}

void settle() { MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(200)); }

void screenshot(GtkWidget* window, const char* name) {
    const char* directory = std::getenv("KESTROVA_PICTURES_DIR");
    if (directory == nullptr) {
        return;
    }
    GdkWindow* surface = gtk_widget_get_window(window);
    if (GdkPixbuf* pixels = gdk_pixbuf_get_from_window(surface, 0, 0, gdk_window_get_width(surface), gdk_window_get_height(surface))) {
        gdk_pixbuf_save(pixels, (std::string(directory) + "/" + name).c_str(), "png", nullptr, nullptr);
        g_object_unref(pixels);
    }
}

TEST(SettingsWindow, OpensWithItsTabsAndFlipsASetting) {
    User ann;
    ann.id = 42;
    ann.username = "ann";
    AppState::shared().user = ann;
    auto window = ui::WindowRealizer::installed().open({"Settings", {320, 136}, false},
                                                                     [] { return ui::View(SettingsView()); });
    ASSERT_TRUE(MainLoop::iterateUntil([] { return shownWindow() != nullptr; }));
    settle();
    GtkWidget* root = shownWindow();
    ASSERT_NE(buttonLabelled(root, "Logout"), nullptr);
    screenshot(root, "settings-window-general.png");

    GtkWidget* sound = buttonLabelled(root, "Sound FX");
    ASSERT_NE(sound, nullptr);
    EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(sound)));
    gtk_button_clicked(GTK_BUTTON(sound));
    EXPECT_FALSE(AppState::shared().soundFX.get());
    EXPECT_EQ(sharedDefaults().boolean("soundFX"), false);

    GtkWidget* menubar = tabLabelled(root, "Menubar");
    ASSERT_NE(menubar, nullptr);
    gtk_button_clicked(GTK_BUTTON(menubar));
    settle();
    GtkWidget* monochrome = buttonLabelled(root, "Monochrome Icon");
    ASSERT_NE(monochrome, nullptr);
    EXPECT_TRUE(gtk_widget_get_mapped(monochrome));
    EXPECT_FALSE(gtk_widget_is_sensitive(monochrome));
    screenshot(root, "settings-window-menubar.png");

    window->close();
    settle();
    AppState::shared().user = std::nullopt;
}

}  // namespace
}  // namespace kestrova

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Settings go to a suite of this run's own, never the user's.
    std::string directory = (std::filesystem::temp_directory_path() / "kestrova-test-XXXXXX").string();
    if (mkdtemp(directory.data()) == nullptr) {
        std::cerr << "cannot create a temporary app-group directory\n";
        return 1;
    }
    setenv("KESTROVA_APP_GROUP_DIR", directory.c_str(), 1);
    try {
        desktop::installAll();
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
    return result;
}
