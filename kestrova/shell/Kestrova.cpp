#include "kestrova/shell/Kestrova.hpp"

#include "kestrova/actions/Actions.hpp"
#include "platform/kits/appintents/IntentService.hpp"
#include "platform/kits/appkit/Application.hpp"
#include "kestrova/shell/CheckForUpdatesView.hpp"
#include "kestrova/shell/HelpCommands.hpp"
#include "kestrova/shell/MainWindowContent.hpp"
#include "kestrova/shell/NewTabCommand.hpp"
#include "kestrova/shell/ReloadCommand.hpp"
#include "kestrova/shell/ZoomCommands.hpp"
#include "kestrova/state/AppState.hpp"
#include "kestrova/views/SettingsView.hpp"

namespace kestrova {

Kestrova::Kestrova() : appState(AppState::shared()) {
    appkit::Application::shared().setDelegate(&appDelegate);
    registerActions(intentCatalogue);
    appintents::IntentService::installed().serve(intentCatalogue);
}

Kestrova::~Kestrova() {
    appkit::Application::shared().setDelegate(nullptr);
}

const char* Kestrova::applicationIdentifier() noexcept {
    return KESTROVA_APPLICATION_ID;
}

ui::App Kestrova::body() {
    ui::App app;
    app.identifier = applicationIdentifier();
    app.name = "Kestrova";
    app.version = KESTROVA_VERSION;
    app.windowGroup.content = [](const std::map<std::string, std::string>& restored) {
        return std::make_unique<MainWindowContent>(restored);
    };
    app.windowGroup.minimumSize = {240, 400};
    app.windowGroup.idealSize = {800, 800};
    app.windowGroup.colorScheme = ui::ColorScheme::dark;
    app.windowGroup.background = ui::Color::black();
    app.windowGroup.showsTitle = false;
    app.settings = ui::SettingsScene{[] { return SettingsView().body(); }, {320, 136}, "Settings"};
    app.commands = [this] {
        return std::vector<ui::CommandGroup>{CheckForUpdatesView{updaterViewModel}.body(), NewTabCommand{}.body(),
                                             HelpCommands{}.body(), ZoomCommands{appState.pageZoom.binding(), 2.0, 0.5}.body(),
                                             ReloadCommand{}.body()};
    };
    app.commandSources = {&appState, &updaterViewModel};
    return app;
}

int Kestrova::main(int argc, char** argv) {
    Kestrova application;
    return appkit::Application::shared().run(application.body(), argc, argv);
}

}  // namespace kestrova
