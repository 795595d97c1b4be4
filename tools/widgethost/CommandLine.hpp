#pragma once

#include "platform/kits/widgetkit/WidgetFamily.hpp"

#include <optional>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace widgethost {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the command line asks for.
struct Command {
    enum class Action { help, render, show };
    enum class Entry { timeline, placeholder, snapshot, preview };

    Action action = Action::help;
    std::string kind;
    widgetkit::WidgetFamily family = widgetkit::WidgetFamily::systemSmall;
    double scale = 1;
    Entry entry = Entry::timeline;
    std::optional<std::string> journal;
    std::string out;
    // The widget extension's executable, when --extension names one.
    std::optional<std::string> extension;

    // The arguments after the program's name. Throws UsageError.
    static Command parse(std::span<const std::string_view> arguments);
};

inline constexpr int exitDone = 0;
inline constexpr int exitFailed = 1;
inline constexpr int exitUsage = 2;

void printUsage(std::ostream& stream);

// `widgethost render`: asks the extension for the entry and writes its PNG; exit 0 or 1.
int render(const Command& command, const std::string& extension, std::ostream& output, std::ostream& errors);

}  // namespace widgethost
