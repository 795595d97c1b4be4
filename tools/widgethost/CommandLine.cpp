#include "tools/widgethost/CommandLine.hpp"


namespace widgethost {

Command Command::parse(std::span<const std::string_view> arguments) {
    Command command;
    if (arguments.empty()) {
        throw UsageError("no command given");
    }
    if (arguments[0] == "--help" || arguments[0] == "help") {
        if (arguments.size() > 1) {
            throw UsageError("--help takes nothing more");
        }
        return command;
    }
    if (arguments[0] == "show") {
        command.action = Action::show;
    } else if (arguments[0] == "render") {
        command.action = Action::render;
        if (arguments.size() < 2 || arguments[1].starts_with("--")) {
            throw UsageError("render needs the widget's kind");
        }
        command.kind = std::string(arguments[1]);
    } else {
        throw UsageError("unknown command \"" + std::string(arguments[0]) + "\"");
    }
    bool familyGiven = false;
    bool entryGiven = false;
    const std::size_t first = command.action == Action::render ? 2 : 1;
    for (std::size_t index = first; index < arguments.size(); ++index) {
        const std::string_view option = arguments[index];
        const auto value = [&]() -> std::string {
            if (index + 1 >= arguments.size()) {
                throw UsageError(std::string(option) + " needs a value");
            }
            return std::string(arguments[++index]);
        };
        if (option == "--extension") {
            command.extension = value();
            continue;
        }
        if (command.action != Action::render) {
            throw UsageError("show takes no " + std::string(option));
        }
        if (option == "--family") {
            const auto name = value();
            const auto family = widgetkit::widgetFamilyNamed(name);
            if (!family) {
                throw UsageError("no widget family is named \"" + name + "\"");
            }
            command.family = *family;
            familyGiven = true;
        } else if (option == "--scale") {
            const auto text = value();
            if (text != "1" && text != "2") {
                throw UsageError("--scale is 1 or 2, not \"" + text + "\"");
            }
            command.scale = text == "1" ? 1 : 2;
        } else if (option == "--placeholder" || option == "--snapshot" || option == "--preview") {
            if (entryGiven) {
                throw UsageError("--placeholder, --snapshot and --preview exclude each other");
            }
            entryGiven = true;
            command.entry = option == "--placeholder" ? Entry::placeholder
                            : option == "--snapshot"  ? Entry::snapshot
                                                      : Entry::preview;
        } else if (option == "--journal") {
            command.journal = value();
        } else if (option == "--out") {
            command.out = value();
        } else {
            throw UsageError("unknown option \"" + std::string(option) + "\"");
        }
    }
    if (command.action == Action::render && (!familyGiven || command.out.empty())) {
        throw UsageError("render needs --family and --out");
    }
    return command;
}

void printUsage(std::ostream& stream) {
    stream << "usage: widgethost render KIND --family FAMILY [--scale 1|2]\n"
              "                         [--placeholder|--snapshot|--preview] [--journal ID]\n"
              "                         --out FILE.png [--extension PATH]\n"
              "       widgethost show [--extension PATH]\n"
              "       widgethost --help\n"
              "render asks the widget extension for one entry (the timeline's first by default),\n"
              "writes its picture and prints its date, links, widget URL and reload policy.\n"
              "show places the widgets on the desktop's widget board until it is stopped.\n";
}

}  // namespace widgethost
