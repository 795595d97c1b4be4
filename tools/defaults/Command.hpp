#pragma once

#include "platform/runtime/foundation/defaults/DefaultsValue.hpp"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace defaults_tool {

// What one run of the tool is asked to do, read from its command line:
//     [-suite NAME] read [KEY] | write KEY [-string|-data|-bool|-int|-float] VALUE|-
//     | delete KEY | list | help
struct Command {
    enum class Action { help, readAll, read, write, remove, list };

    Action action = Action::help;
    // No value: the app group's own suite.
    std::optional<std::string> suite;
    std::string key;
    // The value to write, already of its kind, unless it comes from standard input.
    foundation::DefaultsValue value;
    // The flag of the value's kind when "-" stands for the value, which is
    // then read from standard input: values of the size of the cached user
    // do not fit on a command line.
    std::optional<std::string> kindOfInput;

    // The arguments after the program's name. Throws UsageError for an
    // unknown command, a missing or extra argument, a suite name that cannot
    // name a suite, or a value that is not of the kind its flag names.
    static Command parse(std::span<const std::string_view> arguments);

    // The value that standard input held, of the kind the flag names: text and
    // data byte for byte (data as the bytes themselves, not hexadecimal), a
    // Boolean or number as on the command line, with or without a final line
    // break. Throws UsageError as parse() does.
    static foundation::DefaultsValue valueFromInput(std::string_view kindFlag, std::string input);
};

}  // namespace defaults_tool
