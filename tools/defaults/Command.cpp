#include "tools/defaults/Command.hpp"

#include "tools/defaults/UsageError.hpp"

#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

namespace defaults_tool {
namespace {

// Built by appending: GCC 12 at -O3 misreports a literal added in front of a std::string.
std::string inQuotes(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(1, '"').append(text).append(1, '"');
    return quoted;
}

std::string lowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

template <typename Number>
bool parseWhole(std::string_view text, Number& number) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

foundation::Data parseHex(std::string_view text) {
    const UsageError invalid(inQuotes(text) + " is not hexadecimal data: two digits 0-9, a-f per byte");
    if (text.size() % 2 != 0) {
        throw invalid;
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = hexDigit(text[i]);
        const int low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0) {
            throw invalid;
        }
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return foundation::Data(std::move(bytes));
}

bool parseBoolean(std::string_view text) {
    const std::string word = lowerCase(text);
    if (word == "true" || word == "yes" || word == "1") {
        return true;
    }
    if (word == "false" || word == "no" || word == "0") {
        return false;
    }
    throw UsageError(inQuotes(text) + " is not a Boolean: use true, false, yes, no, 1 or 0");
}

std::int64_t parseInteger(std::string_view text) {
    std::int64_t number = 0;
    if (!parseWhole(text, number)) {
        throw UsageError(inQuotes(text) +
                         " is not an integer from -9223372036854775808 to 9223372036854775807");
    }
    return number;
}

double parseFloat(std::string_view text) {
    double number = 0;
    if (!parseWhole(text, number) || !std::isfinite(number)) {
        throw UsageError(inQuotes(text) + " is not a finite decimal number");
    }
    return number;
}

constexpr std::string_view fromInput = "-";

bool isKindFlag(std::string_view flag) {
    constexpr std::string_view flags[] = {"-string", "-data", "-bool", "-boolean",
                                          "-int", "-integer", "-float"};
    return std::find(std::begin(flags), std::end(flags), flag) != std::end(flags);
}

void requireKindFlag(std::string_view flag) {
    if (!isKindFlag(flag)) {
        throw UsageError("unknown kind " + inQuotes(flag) + ": use -string, -data, -bool, -int or -float");
    }
}

foundation::DefaultsValue parseValue(std::string_view flag, std::string_view text) {
    requireKindFlag(flag);
    if (flag == "-string") {
        return std::string(text);
    }
    if (flag == "-data") {
        return parseHex(text);
    }
    if (flag == "-bool" || flag == "-boolean") {
        return parseBoolean(text);
    }
    if (flag == "-int" || flag == "-integer") {
        return parseInteger(text);
    }
    return parseFloat(text);
}

}  // namespace

foundation::DefaultsValue Command::valueFromInput(std::string_view kindFlag, std::string input) {
    if (kindFlag == "-string") {
        return input;
    }
    if (kindFlag == "-data") {
        return foundation::Data(input);
    }
    std::string_view text = input;
    if (text.ends_with('\n')) {
        text.remove_suffix(text.ends_with("\r\n") ? 2 : 1);
    }
    return parseValue(kindFlag, text);
}

Command Command::parse(std::span<const std::string_view> arguments) {
    Command command;
    if (!arguments.empty() && arguments.front() == "-suite") {
        if (arguments.size() < 2) {
            throw UsageError("-suite needs the suite's name");
        }
        try {
            foundation::UserDefaults::requireUsableName(arguments[1]);
        } catch (const foundation::UserDefaultsError& error) {
            throw UsageError(error.what());
        }
        command.suite = std::string(arguments[1]);
        arguments = arguments.subspan(2);
    }
    if (arguments.empty()) {
        throw UsageError("no command given");
    }
    const std::string_view name = arguments.front();
    const auto operands = arguments.subspan(1);
    const auto requireOperands = [&](std::size_t least, std::size_t most, std::string_view form) {
        if (operands.size() < least || operands.size() > most) {
            throw UsageError(std::string(name) + " takes " + std::string(form));
        }
    };

    if (name == "help" || name == "-h" || name == "--help") {
        requireOperands(0, 0, "no arguments");
        command.action = Action::help;
    } else if (name == "read") {
        requireOperands(0, 1, "at most one key");
        command.action = operands.empty() ? Action::readAll : Action::read;
        if (!operands.empty()) {
            command.key = std::string(operands[0]);
        }
    } else if (name == "write") {
        requireOperands(2, 3, "a key, an optional kind and a value");
        command.action = Action::write;
        command.key = std::string(operands[0]);
        // Without a kind the value is text, as the other platform's tool takes it.
        const std::string_view kind = operands.size() == 2 ? std::string_view("-string") : operands[1];
        const std::string_view text = operands.back();
        if (text == fromInput) {
            requireKindFlag(kind);
            command.kindOfInput = std::string(kind);
        } else {
            command.value = parseValue(kind, text);
        }
    } else if (name == "delete") {
        requireOperands(1, 1, "one key");
        command.action = Action::remove;
        command.key = std::string(operands[0]);
    } else if (name == "list") {
        requireOperands(0, 0, "no arguments");
        command.action = Action::list;
    } else {
        throw UsageError("unknown command " + inQuotes(name));
    }
    return command;
}

}  // namespace defaults_tool
