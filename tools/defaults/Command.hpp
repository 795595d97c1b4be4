#pragma once

#include "platform/foundation/DefaultsValue.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace defaults_tool {

// What one run of the tool is asked to do, read from its command line:
//     [-suite NAME] read [KEY] | write KEY [-string|-data|-bool|-int|-float] VALUE
//     | delete KEY | list | help
struct Command {
    enum class Action { help, readAll, read, write, remove, list };

    Action action = Action::help;
    // No value: the app group's own suite.
    std::optional<std::string> suite;
    std::string key;
    // The value to write, already of its kind.
    foundation::DefaultsValue value;

    // The arguments after the program's name. Throws UsageError for an
    // unknown command, a missing or extra argument, or a value that is not of
    // the kind its flag names.
    static Command parse(std::span<const std::string_view> arguments);
};

}  // namespace defaults_tool
