#include "platform/backends/desktop/DefaultHandler.hpp"
#include "platform/backends/desktop/DesktopWidgetBoard.hpp"
#include "platform/kits/widgetkit/WidgetBoard.hpp"
#include "kestrova/intents/IntentSchema.hpp"
#include "tools/widgethost/Clock.hpp"
#include "tools/widgethost/CommandLine.hpp"
#include "tools/widgethost/ExtensionSession.hpp"
#include "tools/widgethost/FollowingHost.hpp"
#include "tools/widgethost/JournalChoices.hpp"
#include "tools/widgethost/LinkRouter.hpp"
#include "tools/widgethost/PlacementStore.hpp"

#include <cstdlib>
#include <iostream>
#include <vector>

namespace {

// The placed widgets on the desktop, until the session asks the host to end.
int show(const std::string& extension) {
    try {
        desktop::installWidgetBoard();
    } catch (const std::exception& error) {
        std::cerr << "widgethost: " << error.what() << '\n';
        return widgethost::exitFailed;
    }
    const auto clock = widgethost::makeSystemClock();
    const auto journals = widgethost::makeExtensionJournalChoices(KESTROVA_ORVANE_PATH);
    widgethost::PlacementStore store(widgethost::PlacementStore::defaultDirectory(), std::cerr);
    // The application's links go to it through its own start, which hands them to a running
    // instance; the desktop's handlers have the rest.
    const widgethost::LinkRouter links(
        [](const foundation::URL& url) {
            return url.scheme() != "kestrova" && desktop::openWithDefaultHandler(url.absoluteString());
        },
        widgethost::LinkRouter::startingApplication(KESTROVA_APPLICATION_PATH));
    const widgethost::FollowingHost host(widgethost::WidgetHost::Parts{
        widgetkit::WidgetBoard::installed(), *clock,
        widgethost::processSessions(extension, [](std::string_view line) { std::cout << line << '\n'; }), *journals,
        links, store, std::cerr});
    return desktop::runWidgetBoardUntilTerminated();
}

}  // namespace

int main(int argc, char** argv) {
    // Before anything decodes an archive: the stored placements and the journal options carry
    // the journal intent's objects.
    kestrova::registerIntentSchema();
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    widgethost::Command command;
    try {
        command = widgethost::Command::parse(arguments);
    } catch (const widgethost::UsageError& error) {
        std::cerr << "widgethost: " << error.what() << '\n';
        widgethost::printUsage(std::cerr);
        return widgethost::exitUsage;
    }
    const char* variable = std::getenv("KESTROVA_WIDGET_EXTENSION");
    const std::string extension = command.extension ? *command.extension
                                  : variable != nullptr ? variable
                                                        : KESTROVA_PELLICOR_PATH;
    switch (command.action) {
    case widgethost::Command::Action::help:
        widgethost::printUsage(std::cout);
        return widgethost::exitDone;
    case widgethost::Command::Action::render:
        return widgethost::render(command, extension, std::cout, std::cerr);
    case widgethost::Command::Action::show:
        return show(extension);
    }
    return widgethost::exitFailed;
}
