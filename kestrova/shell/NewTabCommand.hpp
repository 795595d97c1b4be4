#pragma once

#include "platform/kits/scenes/Commands.hpp"

namespace kestrova {

// "New Tab" (Control-T) in the File menu, after the new-window items: openNewTab().
struct NewTabCommand {
    [[nodiscard]] ui::CommandGroup body() const;
};

}  // namespace kestrova
