#include "kestrova/shell/NewTabCommand.hpp"

#include "kestrova/shell/OpenNewTab.hpp"

namespace kestrova {

ui::CommandGroup NewTabCommand::body() const {
    return {ui::CommandGroupPosition::after,
            ui::CommandGroupPlacement::newItem,
            {ui::CommandButton{.title = "New Tab", .action = openNewTab, .shortcut = ui::KeyboardShortcut{.key = "t", .shift = false},
                               .disabled = false}}};
}

}  // namespace kestrova
