#pragma once

#include "platform/kits/scenes/Commands.hpp"
#include "kestrova/updater/UpdaterViewModel.hpp"

namespace kestrova {

// "Check for Updates…" in the application menu, after the About item: starts a check the user asked
// for; disabled while the updater cannot begin one.
struct CheckForUpdatesView {
    UpdaterViewModel& updaterViewModel;

    [[nodiscard]] ui::CommandGroup body() const;
};

}  // namespace kestrova
