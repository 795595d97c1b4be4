// The widget board's GTK window on a virtual display, worked as a user would: its tiles show their
// PNGs, a click in a tile reaches the host at the tile's point, the right button opens its menu.
#include "platform/backends/desktop/DesktopWidgetBoard.hpp"
#include "platform/kits/widgetkit/WidgetBoard.hpp"
#include "tests/support/GtkPixels.hpp"
#include "tests/support/GtkWidgetSearch.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <array>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using testsupport::MainLoop;
using widgetkit::WidgetBoard;

// A PNG of one colour, of `size` points at two pixels a point.
WidgetBoard::Tile tileOf(ui::Size size, std::array<double, 3> colour, bool configurable) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(size.width * 2), int(size.height * 2));
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, colour[0], colour[1], colour[2]);
    cairo_paint(cr);
    cairo_destroy(cr);
    WidgetBoard::Tile tile{size, 2, {}, configurable};
    cairo_surface_write_to_png_stream(
        surface,
        [](void* png, const unsigned char* data, unsigned int length) {
            auto& bytes = *static_cast<std::vector<std::uint8_t>*>(png);
            bytes.insert(bytes.end(), data, data + length);
            return CAIRO_STATUS_SUCCESS;
        },
        &tile.png);
    cairo_surface_destroy(surface);
    return tile;
}

GtkWidget* windowTitled(const char* title) {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* each = windows; each != nullptr; each = each->next) {
        if (g_strcmp0(gtk_window_get_title(GTK_WINDOW(each->data)), title) == 0 && gtk_widget_get_mapped(GTK_WIDGET(each->data))) {
            found = GTK_WIDGET(each->data);
        }
    }
    g_list_free(windows);
    return found;
}

void press(GtkWidget* widget, int x, int y, guint button) {
    GtkWidget* root = gtk_widget_get_toplevel(widget);
    int rootX = 0;
    int rootY = 0;
    gtk_widget_translate_coordinates(widget, root, x, y, &rootX, &rootY);
    gdk_test_simulate_button(gtk_widget_get_window(root), rootX, rootY, button, GdkModifierType(0), GDK_BUTTON_PRESS);
    gdk_test_simulate_button(gtk_widget_get_window(root), rootX, rootY, button, GdkModifierType(0), GDK_BUTTON_RELEASE);
}

TEST(WidgetBoardDesktop, ShowsTheTilesBelowTheOtherWindowsAndPassesOnClicksAndTheMenu) {
    auto& board = WidgetBoard::installed();
    std::vector<std::pair<std::size_t, ui::Point>> clicks;
    board.show({[&clicks](std::size_t tile, ui::Point point) { clicks.emplace_back(tile, point); }, {}, {}});
    board.setTiles({tileOf({100, 100}, {1, 0, 0}, false), tileOf({200, 100}, {0, 0, 1}, true)});
    GtkWidget* window = windowTitled("Kestrova Widgets");
    ASSERT_NE(window, nullptr);
    const auto areas = testsupport::widgetsMatching(window, [](GtkWidget* w) { return GTK_IS_DRAWING_AREA(w) != FALSE; });
    ASSERT_EQ(areas.size(), 2U);
    ASSERT_TRUE(MainLoop::iterateUntil([&] {
        return testsupport::pixelAt(areas[1], 100, 50) == std::array<int, 3>{0, 0, 255};
    }));
    EXPECT_EQ(testsupport::pixelAt(areas[0], 50, 50), (std::array<int, 3>{255, 0, 0}));
    EXPECT_FALSE(gtk_window_get_decorated(GTK_WINDOW(window)));
    EXPECT_TRUE(gtk_window_get_skip_taskbar_hint(GTK_WINDOW(window)));
    EXPECT_TRUE(gtk_window_get_skip_pager_hint(GTK_WINDOW(window)));
    EXPECT_TRUE(gdk_window_get_state(gtk_widget_get_window(window)) & GDK_WINDOW_STATE_BELOW);
    EXPECT_DOUBLE_EQ(board.scale(), 1);
    testsupport::saveScreen("widget-board");

    press(areas[1], 30, 40, GDK_BUTTON_PRIMARY);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !clicks.empty(); }));
    EXPECT_EQ(clicks[0].first, 1U);
    EXPECT_EQ(clicks[0].second, (ui::Point{30, 40}));

    press(areas[1], 50, 50, GDK_BUTTON_SECONDARY);
    GtkWidget* menu = nullptr;
    ASSERT_TRUE(MainLoop::iterateUntil([&] {
        GList* menus = gtk_menu_get_for_attach_widget(areas[1]);
        menu = menus != nullptr ? GTK_WIDGET(menus->data) : nullptr;
        return menu != nullptr && gtk_widget_get_mapped(menu);
    }));
    std::vector<std::string> titles;
    for (GtkWidget* item : testsupport::widgetsMatching(menu, [](GtkWidget* w) { return GTK_IS_MENU_ITEM(w) != FALSE; })) {
        titles.emplace_back(gtk_menu_item_get_label(GTK_MENU_ITEM(item)));
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Add Widget…", "Remove Widget", "Configure Widget…"}));
    testsupport::saveScreen("widget-board-menu");
    gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu));

    board.chooseWidget({{"Today", "Today's entry", tileOf({100, 100}, {1, 0, 0}, false)},
                        {"Journal", "One journal's entries", tileOf({200, 100}, {0, 0, 1}, false)}},
                       [](std::optional<std::size_t>) {});
    ASSERT_TRUE(MainLoop::iterateUntil([] { return windowTitled("Add Widget") != nullptr; }));
    testsupport::saveScreen("widget-gallery");
    board.chooseOption("Journal", {{"Today", {{"j1", "Travel"}, {"j2", "Work"}}}, {"Not Today", {{"j3", "Dreams"}}}}, "j2",
                       [](std::optional<std::string>) {});
    ASSERT_TRUE(MainLoop::iterateUntil([] { return windowTitled("Journal") != nullptr; }));
    // Asked again while open, the gallery's first request ends as cancelled.
    std::optional<std::size_t> first = 7;
    board.chooseWidget({}, [&first](std::optional<std::size_t> index) { first = index; });
    board.chooseWidget({}, [](std::optional<std::size_t>) {});
    EXPECT_EQ(first, std::nullopt);
    testsupport::saveScreen("option-chooser");
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    try {
        desktop::installWidgetBoard();
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return RUN_ALL_TESTS();
}
