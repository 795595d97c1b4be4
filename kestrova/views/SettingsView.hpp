#pragma once

#include "platform/kits/ui/View.hpp"
#include "kestrova/state/AppState.hpp"

namespace kestrova {

// The content of the Settings window: the "General" and "Menubar" tabs, every control bound to a
// field of the shared application state, so that a change takes effect and is stored at once.
struct SettingsView {
    [[nodiscard]] ui::View body() const;

    // The account with its Logout button, the sound and beta switches.
    struct GeneralSettings {
        AppState& appState = AppState::shared();
        [[nodiscard]] ui::View body() const;
    };

    // The status item's switches.
    struct MenuBarSettings {
        AppState& appState = AppState::shared();
        [[nodiscard]] ui::View body() const;
    };
};

}  // namespace kestrova
