#include "tools/widgethost/CommandLine.hpp"

#include <cstdlib>
#include <iostream>
#include <vector>

int main(int argc, char** argv) {
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
        std::cerr << "widgethost: show needs the desktop's widget board, which this build lacks\n";
        return widgethost::exitFailed;
    }
    return widgethost::exitFailed;
}
