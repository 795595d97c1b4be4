#pragma once

#include "platform/kits/appintents/IntentCatalogue.hpp"
#include "platform/kits/scenes/App.hpp"
#include "kestrova/shell/AppDelegate.hpp"
#include "kestrova/updater/UpdaterViewModel.hpp"

namespace kestrova {

class AppState;

// The application: installs its delegate, makes the one updater, takes the shared state and serves
// its Shortcuts actions when it is made, and declares the main windows, the Settings window and the main menu's commands. Lives
// as long as the process.
class Kestrova {
public:
    Kestrova();
    ~Kestrova();
    Kestrova(const Kestrova&) = delete;
    Kestrova& operator=(const Kestrova&) = delete;

    // Fields in the order they are made.
    AppDelegate appDelegate;
    UpdaterViewModel updaterViewModel;
    AppState& appState;
    // The actions other programs run in the application, served from when it is made.
    appintents::IntentCatalogue intentCatalogue;

    // The window group of main windows, then the Settings scene, and the command groups in their
    // order: "Check for Updates…", "New Tab", Help, zoom, "Reload".
    [[nodiscard]] ui::App body();

    // The desktop's identifier of the application, a D-Bus name.
    [[nodiscard]] static const char* applicationIdentifier() noexcept;

    // The process's entry once a backend is installed: runs the application until it ends; the exit
    // status. A second launch hands its links to the running instance and ends with 0.
    static int main(int argc, char** argv);
};

}  // namespace kestrova
