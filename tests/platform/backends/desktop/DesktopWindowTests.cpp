// Opens real GTK windows on the display the test runs with (ctest runs it under Xvfb) and works
// them as a user would: clicks a check box, switches tabs, watches a ring grow, clicks a native view's
// widget past the views in front of it, opens and closes a menu over a web page.
#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/combine/Published.hpp"
#include "platform/backends/desktop/DesktopBackend.hpp"
#include "platform/backends/desktop/DesktopWindowRealizer.hpp"
#include "platform/kits/ui/Controls.hpp"
#include "platform/kits/ui/NativeView.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Shape.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"
#include "platform/kits/scenes/WindowRealizer.hpp"
#include "platform/kits/webkit/WebView.hpp"
#include "tests/support/GtkPixels.hpp"
#include "tests/support/GtkWidgetSearch.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>

namespace {

using testsupport::buttonLabelled;
using testsupport::MainLoop;

class Settings final : public combine::ObservableObject {
public:
    combine::Published<bool> soundFX{*this, true};
    combine::Published<bool> isBeta{*this, false};
    combine::Published<bool> statusBarIcon{*this, false};
    combine::Published<bool> monochrome{*this, true};
    combine::Published<double> progress{*this, 0.25};
};

ui::Binding<bool> bind(const std::shared_ptr<Settings>& settings, combine::Published<bool> Settings::*field) {
    return {[settings, field] { return ((*settings).*field).get(); }, [settings, field](bool value) { (*settings).*field = value; }};
}

ui::View settingsTree(const std::shared_ptr<Settings>& settings, int& logouts) {
    const ui::View general =
        ui::VStack({ui::HStack({ui::Text("Signed in as ") + ui::Text::verbatim("@ann").bold(),
                                ui::Button("Logout", [&logouts] { ++logouts; }).padding(ui::EdgeSet(ui::Edge::trailing))}),
                    ui::Toggle("Sound FX", bind(settings, &Settings::soundFX)), ui::Toggle("Beta", bind(settings, &Settings::isBeta)),
                    ui::Text("Enable 'Beta' to use an experimental version with new features.")
                        .font(ui::Font::callout())
                        .view()
                        .fixedSize(false, true)},
                   ui::HorizontalAlignment::leading)
            .padding();
    const ui::View menubar =
        ui::VStack({ui::Toggle("Show Icon in Menubar", bind(settings, &Settings::statusBarIcon)),
                    ui::Toggle("Monochrome Icon", bind(settings, &Settings::monochrome)).disabled(!settings->statusBarIcon.get())},
                   ui::HorizontalAlignment::leading)
            .padding();
    return ui::TabView({general.tabItem(ui::Label("General", "gear")), menubar.tabItem(ui::Label("Menubar", "menubar.rectangle"))})
        .frame(320, 136)
        .observing(settings);
}

ui::View ringTree(const std::shared_ptr<Settings>& settings) {
    const double value = settings->progress.get();
    const ui::StrokeStyle style{12, ui::LineCap::round, ui::LineJoin::round, 10, {}, 0};
    return ui::ZStack({ui::Circle().stroke(ui::Color::black(), style).opacity(0.3),
                       ui::Circle().trim(0, value).stroke(ui::Color::sRGB(0, 0.8, 0), style).rotationEffect(ui::Angle::degrees(-90))
                           .animation(ui::Animation::standard(), value),
                       ui::Text::verbatim("7").font(ui::Font::system(55)).foregroundColor(ui::Color::black())})
        .frame(100, 100)
        .padding(10)
        .observing(settings);
}


GtkWidget* toplevel() {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* each = windows; each != nullptr; each = each->next) {
        if (gtk_widget_get_mapped(GTK_WIDGET(each->data))) {
            found = GTK_WIDGET(each->data);
        }
    }
    g_list_free(windows);
    return found;
}

void settle() { MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(150)); }

// The window as the display shows it, for a person to look at when KESTROVA_PICTURES_DIR is set.
GdkPixbuf* screenshot(GtkWidget* window, const char* name) {
    GdkWindow* surface = gtk_widget_get_window(window);
    GdkPixbuf* pixels = gdk_pixbuf_get_from_window(surface, 0, 0, gdk_window_get_width(surface), gdk_window_get_height(surface));
    if (const char* directory = std::getenv("KESTROVA_PICTURES_DIR"); directory != nullptr && pixels != nullptr) {
        gdk_pixbuf_save(pixels, (std::string(directory) + "/" + name).c_str(), "png", nullptr, nullptr);
    }
    return pixels;
}

TEST(DesktopWindow, ShowsControlsAsGtkWidgetsThatActThroughTheirBindings) {
    auto settings = std::make_shared<Settings>();
    int logouts = 0;
    auto window = ui::WindowRealizer::installed().open({"Settings", {320, 136}, false},
                                                                     [settings, &logouts] { return settingsTree(settings, logouts); });
    ASSERT_TRUE(MainLoop::iterateUntil([] { return toplevel() != nullptr; }));
    settle();
    GtkWidget* root = toplevel();

    GtkWidget* sound = buttonLabelled(root, "Sound FX");
    ASSERT_NE(sound, nullptr);
    EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(sound)));
    gtk_button_clicked(GTK_BUTTON(sound));
    EXPECT_FALSE(settings->soundFX.get());
    settle();
    sound = buttonLabelled(root, "Sound FX");
    ASSERT_NE(sound, nullptr);
    EXPECT_FALSE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(sound)));

    // A change made elsewhere shows in the window.
    settings->isBeta = true;
    ASSERT_TRUE(MainLoop::iterateUntil([&] {
        GtkWidget* beta = buttonLabelled(root, "Beta");
        return beta != nullptr && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(beta));
    }));
    settle();
    g_object_unref(screenshot(root, "settings-general.png"));

    // The second tab: the monochrome box cannot be changed while the icon is off.
    const auto* tabs = window->host().laidOut().first<ui::node::TabView>();
    ASSERT_NE(tabs, nullptr);
    window->host().selectTab(tabs->identity, 1);
    settle();
    GtkWidget* monochrome = buttonLabelled(root, "Monochrome Icon");
    ASSERT_NE(monochrome, nullptr);
    EXPECT_FALSE(gtk_widget_is_sensitive(monochrome));
    g_object_unref(screenshot(root, "settings-menubar.png"));
    gtk_button_clicked(GTK_BUTTON(buttonLabelled(root, "Show Icon in Menubar")));
    settle();
    EXPECT_TRUE(settings->statusBarIcon.get());
    EXPECT_TRUE(gtk_widget_is_sensitive(buttonLabelled(root, "Monochrome Icon")));
    EXPECT_TRUE(settings->monochrome.get());

    window->close();
    EXPECT_FALSE(window->isOpen());
    settle();
}

TEST(DesktopWindow, DrawsShapesAndAnimatesTheRing) {
    auto settings = std::make_shared<Settings>();
    auto window = ui::WindowRealizer::installed().open({"Ring", {120, 120}, false}, [settings] { return ringTree(settings); });
    ASSERT_TRUE(MainLoop::iterateUntil([] { return toplevel() != nullptr; }));
    settle();
    GtkWidget* root = toplevel();
    GtkAllocation content{};
    gtk_widget_get_allocation(gtk_bin_get_child(GTK_BIN(root)), &content);

    // The arc's colour at 2 o'clock, where a quarter reaches and a tenth does not.
    const auto greenAtTwo = [&] {
        GdkPixbuf* pixels = screenshot(root, "ring.png");
        const int x = content.x + content.width / 2 + static_cast<int>(49 * std::sin(M_PI / 3));
        const int y = content.y + content.height / 2 - static_cast<int>(49 * std::cos(M_PI / 3));
        const guchar* pixel = gdk_pixbuf_get_pixels(pixels) + y * gdk_pixbuf_get_rowstride(pixels) + x * gdk_pixbuf_get_n_channels(pixels);
        const bool green = pixel[1] > 150 && pixel[0] < 80;
        g_object_unref(pixels);
        return green;
    };
    EXPECT_TRUE(greenAtTwo());

    settings->progress = 0.1;
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return window->host().isAnimating(); }));
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !window->host().isAnimating(); }));
    settle();
    EXPECT_FALSE(greenAtTwo());
    settings->progress = 0.6;
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !window->host().isAnimating(); }));
    settle();
    EXPECT_TRUE(greenAtTwo());
    window->close();
}

// A widget of the test's own, as a web view gives its page's widget.
class NativeButton final : public ui::NativeView {
public:
    NativeButton() : button(GTK_WIDGET(g_object_ref_sink(gtk_button_new_with_label("native")))) {
        g_signal_connect(button, "button-press-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) {
                             ++static_cast<NativeButton*>(self)->clicks;
                             return FALSE;
                         }),
                         this);
        g_signal_connect(button, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer self) { static_cast<NativeButton*>(self)->destroyed = true; }),
                         this);
    }
    ~NativeButton() override {
        g_signal_handlers_disconnect_by_data(button, this);
        gtk_widget_destroy(button);
        g_object_unref(button);
    }
    NativeButton(const NativeButton&) = delete;
    NativeButton& operator=(const NativeButton&) = delete;

    [[nodiscard]] void* nativeWidget() const override { return button; }

    GtkWidget* button;
    int clicks = 0;
    bool destroyed = false;  // by someone other than its maker
};

void click(GtkWidget* widget, int x, int y) {
    GtkWidget* root = gtk_widget_get_toplevel(widget);
    int rootX = 0;
    int rootY = 0;
    gtk_widget_translate_coordinates(widget, root, x, y, &rootX, &rootY);
    GdkWindow* window = gtk_widget_get_window(root);
    gdk_test_simulate_button(window, rootX, rootY, 1, GdkModifierType(0), GDK_BUTTON_PRESS);
    gdk_test_simulate_button(window, rootX, rootY, 1, GdkModifierType(0), GDK_BUTTON_RELEASE);
    settle();
}

TEST(DesktopWindow, ShowsANativeViewsWidgetUnderTheViewsInFrontOfIt) {
    auto native = std::make_shared<NativeButton>();
    auto settings = std::make_shared<Settings>();  // isBeta: the native view is out; progress: its opacity
    auto window = ui::WindowRealizer::installed().open({"Native", {200, 100}, false}, [native, settings] {
        return ui::ZStack({ui::ColorView(ui::Color::sRGB(0, 0, 1)),
                           settings->isBeta.get() ? ui::View() : ui::NativeView::view(native).opacity(settings->progress.get()),
                           ui::ColorView(ui::Color::sRGB(1, 0, 0)).frame(40, 40)},
                          ui::Alignment::topLeading())
            .observing(settings);
    });
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return gtk_widget_get_mapped(native->button) != FALSE; }));
    settle();
    GtkWidget* button = native->button;
    EXPECT_EQ(gtk_widget_get_allocated_width(button), 200);
    EXPECT_EQ(gtk_widget_get_allocated_height(button), 100);
    EXPECT_NEAR(gtk_widget_get_opacity(button), 0.25, 0.01);
    settings->progress = 1.0;
    settle();
    EXPECT_DOUBLE_EQ(gtk_widget_get_opacity(button), 1.0);
    g_object_unref(screenshot(toplevel(), "native-view.png"));

    // The square in front is drawn over the widget and takes its clicks; elsewhere the widget shows
    // and is clicked.
    EXPECT_EQ(testsupport::pixelAt(button, 20, 20), (std::array<int, 3>{255, 0, 0}));
    EXPECT_NE(testsupport::pixelAt(button, 150, 50), (std::array<int, 3>{255, 0, 0}));
    EXPECT_NE(testsupport::pixelAt(button, 150, 50), (std::array<int, 3>{0, 0, 255}));
    click(button, 150, 50);
    EXPECT_EQ(native->clicks, 1);
    click(button, 20, 20);
    EXPECT_EQ(native->clicks, 1);

    // Out of the tree, the widget leaves the window and stays its maker's.
    GtkWidget* content = gtk_bin_get_child(GTK_BIN(toplevel()));
    settings->isBeta = true;
    settle();
    EXPECT_EQ(gtk_widget_get_parent(button), nullptr);
    EXPECT_EQ(testsupport::pixelAt(content, 150, 50), (std::array<int, 3>{0, 0, 255}));
    window->close();
    EXPECT_EQ(gtk_widget_get_parent(button), nullptr);
    EXPECT_FALSE(native->destroyed);
}

TEST(DesktopWindow, GivesANativeViewsWidgetBackWhenTheTabsOrTheWindowHoldingItGo) {
    auto native = std::make_shared<NativeButton>();
    auto settings = std::make_shared<Settings>();  // isBeta: the tabs are out
    auto window = ui::WindowRealizer::installed().open({"Tabs", {200, 100}, false}, [native, settings] {
        if (settings->isBeta.get()) {
            return ui::Text("No tabs").view().observing(settings);
        }
        return ui::TabView({ui::NativeView::view(native).tabItem(ui::Label("Page", "gear")),
                            ui::Text("Other").view().tabItem(ui::Label("Other", "gear"))})
            .observing(settings);
    });
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return gtk_widget_get_mapped(native->button) != FALSE; }));
    settings->isBeta = true;
    settle();
    EXPECT_EQ(gtk_widget_get_parent(native->button), nullptr);
    EXPECT_FALSE(native->destroyed);

    settings->isBeta = false;
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return gtk_widget_get_mapped(native->button) != FALSE; }));
    window->close();
    EXPECT_EQ(gtk_widget_get_parent(native->button), nullptr);
    EXPECT_FALSE(native->destroyed);
}

// Notes the page's message that it has shown its second frame: from then on the engine draws no frame
// of its own accord, and what the window shows of the page is the window's drawing.
struct PaintedMessage final : webkit::ScriptMessageHandler {
    void didReceiveScriptMessage(const webkit::ScriptMessage& /*message*/) override { received = true; }
    bool received = false;
};

// A page of the web engine in a window, as the application shows it.
class NativeWebPage final : public ui::NativeView {
public:
    explicit NativeWebPage(const std::filesystem::path& file) : view(configuration(painted)) {
        view.load(foundation::URLRequest(foundation::URL::fileURL(file.string())));
    }

    [[nodiscard]] void* nativeWidget() const override { return view.page().nativeView(); }

    std::shared_ptr<PaintedMessage> painted = std::make_shared<PaintedMessage>();
    webkit::WebView view;

private:
    static webkit::WebViewConfiguration configuration(const std::shared_ptr<PaintedMessage>& painted) {
        webkit::WebViewConfiguration configuration;
        configuration.userContentController->addScriptMessageHandler(painted, "painted");
        return configuration;
    }
};

// A window of the application's kind: a menu bar over the content, here a web page.
TEST(DesktopWindow, AClosedMenuLeavesTheWebPageUnderItAsItWas) {
    const testsupport::ScratchDirectory scratch;
    const auto file = scratch.write("page.html", R"html(<body style="margin: 0; background: rgb(200, 60, 60)"><script>
        requestAnimationFrame(() => requestAnimationFrame(() => webkit.messageHandlers.painted.postMessage("")));
        </script></body>)html");
    const auto page = std::make_shared<NativeWebPage>(file);
    auto& realizer = static_cast<desktop::DesktopWindowRealizer&>(ui::WindowRealizer::installed());
    auto content = realizer.openEmbedded({"Page", {400, 300}, false}, [page] {
        return ui::ZStack({ui::ColorView(ui::Color::black()), ui::NativeView::view(page)});
    });
    GtkWidget* bar = gtk_menu_bar_new();
    GtkWidget* item = gtk_menu_item_new_with_label("Kestrova");
    GtkWidget* menu = gtk_menu_new();
    for (const char* title : {"About Kestrova", "Settings…", "Quit Kestrova"}) {
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_menu_item_new_with_label(title));
    }
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), menu);
    gtk_menu_shell_append(GTK_MENU_SHELL(bar), item);
    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_pack_start(GTK_BOX(column), bar, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), desktop::DesktopWindowRealizer::widgetOf(*content), TRUE, TRUE, 0);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_container_add(GTK_CONTAINER(window), column);
    gtk_widget_show_all(window);

    auto* web = static_cast<GtkWidget*>(page->nativeWidget());
    const std::array<int, 3> pageColor{200, 60, 60};
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return page->painted->received && testsupport::screenPixelAt(web, 30, 30) == pageColor; }));
    gtk_menu_shell_select_item(GTK_MENU_SHELL(bar), item);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return testsupport::screenPixelAt(web, 30, 30) != pageColor; }));
    gtk_menu_shell_deactivate(GTK_MENU_SHELL(bar));
    // What the menu covered shows the page again, as the rest of the window does.
    MainLoop::iterateUntil([&] { return testsupport::screenPixelAt(web, 30, 30) == pageColor; });
    EXPECT_EQ(testsupport::screenPixelAt(web, 30, 30), pageColor);
    EXPECT_EQ(testsupport::screenPixelAt(web, 350, 250), pageColor);
    g_object_unref(screenshot(window, "menu-closed-over-page.png"));
    content->close();
    gtk_widget_destroy(window);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    try {
        desktop::installAll();
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return RUN_ALL_TESTS();
}
