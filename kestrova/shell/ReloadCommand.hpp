#pragma once

#include "platform/kits/scenes/Commands.hpp"
#include "kestrova/web/ViewToReloadValueKey.hpp"

#include <optional>

namespace kestrova {

// "Reload" (Control-R) in the View menu, before the toolbar items: reloads the page of the window that
// has the focus; without one it does nothing.
struct ReloadCommand {
    // The focused window's reload action, as the focused values hold it now.
    [[nodiscard]] std::optional<ViewToReloadValueKey::Value> shouldReload() const;
    [[nodiscard]] ui::CommandGroup body() const;
};

}  // namespace kestrova
