#include "platform/backends/desktop/MenuBar.hpp"

#include "platform/backends/desktop/internal/ApplicationAction.hpp"

#include <gtk/gtk.h>

namespace desktop {
namespace {

template <typename Visit>
void forEachItem(const std::vector<ui::MainMenuMenu>& menus, Visit visit) {
    for (const auto& menu : menus) {
        for (const auto& section : menu.sections) {
            for (const auto& item : section) {
                visit(item);
            }
        }
    }
}

}  // namespace

MenuBar::MenuBar(GtkApplication* gtk, const ui::App& app) : gtk_(gtk), app_(app), commands_(app.commands) {
    for (auto* source : app_.commandSources) {
        commands_.observe(*source);
    }
    commands_.onChange([this] { refresh(); });
    refresh();
}

MenuBar::~MenuBar() {
    for (const auto& name : commandActions_) {
        g_action_map_remove_action(G_ACTION_MAP(gtk_), name.c_str());
    }
}

std::vector<ui::MainMenuMenu> MenuBar::menus() const {
    return ui::buildMainMenu(app_.name, commands_.groups());
}

void MenuBar::refresh() {
    const auto menus = this->menus();
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
    forEachItem(menus, [this](const ui::MainMenuItem& item) {
        if (item.action.starts_with("command-")) {
            updateCommandAction(item);
        }
        std::vector<const char*> accelerators;
        for (const auto& accelerator : item.accelerators) {
            accelerators.push_back(accelerator.c_str());
        }
        accelerators.push_back(nullptr);
        gtk_application_set_accels_for_action(gtk_, ("app." + item.action).c_str(), accelerators.data());
    });
    if (shape == shape_) {
        return;
    }
    shape_ = shape;
    g_autoptr(GMenu) bar = g_menu_new();
    for (const auto& menu : menus) {
        g_autoptr(GMenu) submenu = g_menu_new();
        for (const auto& section : menu.sections) {
            g_autoptr(GMenu) part = g_menu_new();
            for (const auto& item : section) {
                g_menu_append(part, item.title.c_str(), ("app." + item.action).c_str());
            }
            g_menu_append_section(submenu, nullptr, G_MENU_MODEL(part));
        }
        g_menu_append_submenu(bar, menu.title.c_str(), G_MENU_MODEL(submenu));
    }
    gtk_application_set_menubar(gtk_, G_MENU_MODEL(bar));
}

void MenuBar::updateCommandAction(const ui::MainMenuItem& item) {
    GAction* existing = g_action_map_lookup_action(G_ACTION_MAP(gtk_), item.action.c_str());
    if (existing == nullptr) {
        existing = G_ACTION(addApplicationAction(G_ACTION_MAP(gtk_), item.action.c_str(),
                                                 G_CALLBACK(+[](GSimpleAction* performed, GVariant*, gpointer self) {
                                                     static_cast<MenuBar*>(self)->perform(g_action_get_name(G_ACTION(performed)));
                                                 }),
                                                 this));
        commandActions_.push_back(item.action);
    }
    g_simple_action_set_enabled(G_SIMPLE_ACTION(existing), item.enabled ? TRUE : FALSE);
}

void MenuBar::perform(const std::string& name) {
    std::function<void()> action;
    forEachItem(menus(), [&](const ui::MainMenuItem& item) {
        if (!action && item.action == name && item.enabled && item.perform) {
            action = item.perform;
        }
    });
    if (action) {
        action();
    }
}

}  // namespace desktop
