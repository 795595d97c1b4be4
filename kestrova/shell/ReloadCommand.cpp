#include "kestrova/shell/ReloadCommand.hpp"

#include "platform/kits/scenes/FocusedValues.hpp"

namespace kestrova {

std::optional<ViewToReloadValueKey::Value> ReloadCommand::shouldReload() const {
    return ui::FocusedValues::shared().value<ViewToReloadValueKey::Value>(ViewToReloadValueKey::name);
}

ui::CommandGroup ReloadCommand::body() const {
    auto reload = shouldReload();
    return {ui::CommandGroupPosition::before,
            ui::CommandGroupPlacement::toolbar,
            {ui::CommandButton{.title = "Reload",
                               .action =
                                   [reload = std::move(reload)] {
                                       if (reload && *reload) {
                                           (*reload)();
                                       }
                                   },
                               .shortcut = ui::KeyboardShortcut{.key = "r", .shift = false},
                               .disabled = false}}};
}

}  // namespace kestrova
