#include "kestrova/statusbar/StatusItemMenu.hpp"

#include "kestrova/statusbar/StatusBarMenuItem.hpp"

#include <memory>

namespace kestrova {

StatusItemMenu::StatusItemMenu(std::function<void()> quit) : appkit::Menu("Kestrova Status Item Menu") {
    addItem(std::make_shared<StatusBarMenuItem>("Quit Kestrova", "q",
                                                [quit = std::move(quit)](appkit::MenuItem&) { quit(); }));
}

}  // namespace kestrova
