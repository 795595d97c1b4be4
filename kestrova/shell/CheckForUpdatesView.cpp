#include "kestrova/shell/CheckForUpdatesView.hpp"

namespace kestrova {

ui::CommandGroup CheckForUpdatesView::body() const {
    return {ui::CommandGroupPosition::after,
            ui::CommandGroupPlacement::appInfo,
            {ui::CommandButton{.title = "Check for Updates\u2026",
                               .action = [&model = updaterViewModel] { model.updaterController.checkForUpdates(); },
                               .shortcut = std::nullopt,
                               .disabled = !updaterViewModel.canCheckForUpdates.get()}}};
}

}  // namespace kestrova
