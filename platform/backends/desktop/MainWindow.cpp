#include "platform/backends/desktop/MainWindow.hpp"

#include "platform/backends/desktop/OpenWindows.hpp"
#include "platform/backends/desktop/Tab.hpp"
#include "platform/backends/desktop/WindowCascade.hpp"

#include <gtk/gtk.h>

#include <algorithm>
#include <string>

namespace desktop {

MainWindow::MainWindow(OpenWindows& windows, GtkApplication* gtk, const ui::App& app, const MainWindow* key)
    : windows_(windows) {
    window_ = gtk_application_window_new(gtk);
    gtk_window_set_default_size(GTK_WINDOW(window_), static_cast<int>(app.windowGroup.idealSize.width),
                                static_cast<int>(app.windowGroup.idealSize.height));
    GtkWidget* header = gtk_header_bar_new();
    gtk_header_bar_set_show_close_button(GTK_HEADER_BAR(header), TRUE);
    if (!app.windowGroup.showsTitle) {
        // An empty box in the title's place: the header bar shows no text.
        gtk_header_bar_set_custom_title(GTK_HEADER_BAR(header), gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0));
    }
    gtk_window_set_titlebar(GTK_WINDOW(window_), header);
    // Only after the title bar: a header bar put in as the title bar gives the window its title,
    // which is none here.
    gtk_window_set_title(GTK_WINDOW(window_), app.name.c_str());
    if (key != nullptr) {
        WindowCascade::place(GTK_WINDOW(window_), GTK_WINDOW(key->window_));
    }
    notebook_ = gtk_notebook_new();
    gtk_notebook_set_show_border(GTK_NOTEBOOK(notebook_), FALSE);
    gtk_notebook_set_scrollable(GTK_NOTEBOOK(notebook_), TRUE);
    gtk_container_add(GTK_CONTAINER(window_), notebook_);
    // Once for all main windows: the screen keeps every provider added to it.
    static const bool styled = [] {
        g_autoptr(GtkCssProvider) css = gtk_css_provider_new();
        gtk_css_provider_load_from_data(css, "window.kestrova-main, window.kestrova-main notebook, window.kestrova-main stack { background-color: #000000; }", -1, nullptr);
        gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        return true;
    }();
    static_cast<void>(styled);
    gtk_style_context_add_class(gtk_widget_get_style_context(window_), "kestrova-main");

    g_signal_connect(window_, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) {
                         auto* main = static_cast<MainWindow*>(self);
                         main->windows_.windowDeleted(*main);
                         return TRUE;
                     }),
                     this);
    g_signal_connect(window_, "notify::is-active", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) {
                         auto* main = static_cast<MainWindow*>(self);
                         main->windows_.windowFocusChanged(*main);
                     }),
                     this);
    g_signal_connect(window_, "window-state-event", G_CALLBACK(+[](GtkWidget*, GdkEventWindowState* event, gpointer self) {
                         static_cast<MainWindow*>(self)->iconified_ = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
                         return FALSE;
                     }),
                     this);
    g_signal_connect_after(notebook_, "switch-page", G_CALLBACK(+[](GtkNotebook*, GtkWidget*, guint, gpointer self) {
                               auto* main = static_cast<MainWindow*>(self);
                               if (const auto shown = main->currentTab()) {
                                   main->showTitleOf(*shown);
                               }
                               main->windows_.tabSwitched(*main);
                           }),
                           this);
    // The minimum size belongs to the content, so that the title bar comes on top of it.
    gtk_widget_show_all(window_);
}

MainWindow::~MainWindow() {
    for (const auto& tab : tabs_) {
        tab->owner_ = nullptr;
    }
    gtk_widget_destroy(window_);
}

void MainWindow::insert(const std::shared_ptr<Tab>& tab, int position) {
    position = std::clamp(position, 0, static_cast<int>(tabs_.size()));
    tabs_.insert(tabs_.begin() + position, tab);
    tab->owner_ = this;
    GtkWidget* label = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
    GtkWidget* title = gtk_label_new(nullptr);
    // A long page title takes no more than the tab's share of the bar.
    gtk_label_set_ellipsize(GTK_LABEL(title), PANGO_ELLIPSIZE_END);
    gtk_box_pack_start(GTK_BOX(label), title, TRUE, TRUE, 0);
    GtkWidget* close = gtk_button_new_from_icon_name("window-close-symbolic", GTK_ICON_SIZE_MENU);
    gtk_button_set_relief(GTK_BUTTON(close), GTK_RELIEF_NONE);
    g_signal_connect(close, "clicked", G_CALLBACK(+[](GtkButton*, gpointer data) {
                         // The tab may be gone with its window: ask for it by its widget.
                         static_cast<Tab*>(data)->close();
                     }),
                     tab.get());
    gtk_box_pack_start(GTK_BOX(label), close, FALSE, FALSE, 0);
    gtk_widget_show_all(label);
    gtk_notebook_insert_page(GTK_NOTEBOOK(notebook_), tab->widget(), label, position);
    gtk_container_child_set(GTK_CONTAINER(notebook_), tab->widget(), "tab-expand", TRUE, nullptr);
    gtk_notebook_set_show_tabs(GTK_NOTEBOOK(notebook_), tabs_.size() >= 2 ? TRUE : FALSE);
    gtk_widget_show(tab->widget());
    showTitleOf(*tab);
}

void MainWindow::remove(Tab& tab) {
    const int index = indexOf(tab);
    if (index < 0) {
        return;
    }
    tabs_.erase(tabs_.begin() + index);
    tab.owner_ = nullptr;
    gtk_container_remove(GTK_CONTAINER(notebook_), tab.widget());
    gtk_notebook_set_show_tabs(GTK_NOTEBOOK(notebook_), tabs_.size() >= 2 ? TRUE : FALSE);
}

void MainWindow::select(const Tab& tab) {
    const int index = indexOf(tab);
    if (index >= 0) {
        gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook_), index);
    }
}

std::shared_ptr<Tab> MainWindow::currentTab() const {
    const int page = gtk_notebook_get_current_page(GTK_NOTEBOOK(notebook_));
    GtkWidget* child = page < 0 ? nullptr : gtk_notebook_get_nth_page(GTK_NOTEBOOK(notebook_), page);
    for (const auto& tab : tabs_) {
        if (tab->widget() == child) {
            return tab;
        }
    }
    return tabs_.empty() ? nullptr : tabs_.front();
}

void MainWindow::showTitleOf(const Tab& tab) {
    const std::string title = tab.title();
    if (GtkWidget* label = gtk_notebook_get_tab_label(GTK_NOTEBOOK(notebook_), tab.widget())) {
        GList* parts = gtk_container_get_children(GTK_CONTAINER(label));
        GtkLabel* text = GTK_LABEL(parts->data);
        g_list_free(parts);
        if (title != gtk_label_get_text(text)) {
            gtk_label_set_text(text, title.c_str());
        }
    }
    const gchar* shown = gtk_window_get_title(GTK_WINDOW(window_));
    if (currentTab().get() == &tab && (shown == nullptr || title != shown)) {
        gtk_window_set_title(GTK_WINDOW(window_), title.c_str());
    }
}

bool MainWindow::isActive() const {
    return gtk_window_is_active(GTK_WINDOW(window_)) != FALSE;
}

void MainWindow::present() {
    gtk_window_present(GTK_WINDOW(window_));
}

void MainWindow::iconify() {
    gtk_window_iconify(GTK_WINDOW(window_));
}

void MainWindow::deiconify() {
    gtk_window_deiconify(GTK_WINDOW(window_));
}

int MainWindow::indexOf(const Tab& tab) const {
    for (std::size_t index = 0; index < tabs_.size(); ++index) {
        if (tabs_[index].get() == &tab) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

}  // namespace desktop
