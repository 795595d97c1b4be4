#include "tools/defaults/DefaultsTool.hpp"

#include "tools/defaults/Command.hpp"
#include "tools/defaults/UsageError.hpp"
#include "tools/defaults/ValueText.hpp"

#include "platform/runtime/foundation/defaults/AppGroup.hpp"
#include "platform/runtime/foundation/defaults/DefaultsDatabase.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace defaults_tool {
namespace {

// Built by appending: GCC 12 at -O3 misreports a literal added in front of a std::string.
std::string inQuotes(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(1, '"').append(text).append(1, '"');
    return quoted;
}

std::string missingKey(std::string_view key, std::string_view suiteName) {
    return "the key " + inQuotes(key) + " does not exist in the suite " + inQuotes(suiteName);
}

}  // namespace

int DefaultsTool::run(std::span<const std::string_view> arguments) {
    try {
        return execute(Command::parse(arguments));
    } catch (const UsageError& error) {
        errors_ << "defaults: " << error.what() << "\n"
                << "usage: defaults [-suite NAME] read [KEY] | write KEY [-KIND] VALUE|-"
                   " | delete KEY | list\n"
                << "Run \"defaults --help\" for the details.\n";
        return usageFailure;
    } catch (const foundation::UserDefaultsError& error) {
        return fail(error.what());
    }
}

int DefaultsTool::execute(const Command& command) {
    if (command.action == Command::Action::help) {
        printUsage(output_);
        return success;
    }
    const std::string suiteName = command.suite.value_or(std::string(foundation::AppGroup::identifier()));

    if (command.action == Command::Action::write) {
        if (!command.kindOfInput) {
            foundation::UserDefaults(suiteName).set(command.value, command.key);
            return success;
        }
        // Read whole before the suite is opened: a value cut short by a
        // failed read is not written.
        std::string problem;
        auto input = readInput(problem);
        if (!input) {
            return fail("cannot read the value from standard input: " + problem);
        }
        const auto value = Command::valueFromInput(*command.kindOfInput, std::move(*input));
        foundation::UserDefaults(suiteName).set(value, command.key);
        return success;
    }

    // Looking must not leave a new, empty suite behind (a mistyped -suite
    // would otherwise create a file); only a write creates one.
    const auto file = foundation::UserDefaults::databaseFile(suiteName);
    std::error_code ignored;
    if (!std::filesystem::exists(file, ignored)) {
        return fail("the suite " + inQuotes(suiteName) + " does not exist (there is no file " +
                    inQuotes(file.string()) + ")");
    }
    foundation::DefaultsDatabase database(file);

    switch (command.action) {
    case Command::Action::readAll:
        for (const auto& [key, value] : database.values()) {
            ValueText::writeText(output_, key);
            output_ << " = ";
            ValueText::writeValue(output_, value);
            output_ << "\n";
        }
        return success;
    case Command::Action::read: {
        const auto value = database.value(command.key);
        if (!value) {
            return fail(missingKey(command.key, suiteName));
        }
        ValueText::writeValue(output_, *value);
        output_ << "\n";
        return success;
    }
    case Command::Action::remove:
        if (!database.removeValue(command.key)) {
            return fail(missingKey(command.key, suiteName));
        }
        return success;
    case Command::Action::list:
        for (const auto& [key, kind] : database.kinds()) {
            ValueText::writeText(output_, key);
            output_ << "\t" << kind << "\n";
        }
        return success;
    case Command::Action::write:
    case Command::Action::help:
        break;  // done above
    }
    return success;
}

std::optional<std::string> DefaultsTool::readInput(std::string& problem) {
    std::string input;
    std::array<char, 64 * 1024> buffer{};
    errno = 0;
    while (input_.read(buffer.data(), buffer.size()) || input_.gcount() > 0) {
        input.append(buffer.data(), static_cast<std::size_t>(input_.gcount()));
    }
    if (input_.bad()) {
        problem = errno != 0 ? std::strerror(errno) : "the stream failed";
        return std::nullopt;
    }
    return input;
}

int DefaultsTool::fail(std::string_view message) {
    errors_ << "defaults: " << message << "\n";
    return failure;
}

void DefaultsTool::printUsage(std::ostream& stream) const {
    const auto group = foundation::AppGroup::identifier();
    stream << "usage: defaults [-suite NAME] COMMAND\n"
              "\n"
              "Reads and writes the defaults suite that the application shares with its\n"
              "extensions, \""
           << group
           << "\", or with -suite NAME another suite in the same directory.\n"
              "The directory is $KESTROVA_APP_GROUP_DIR when set, else\n"
              "$XDG_CONFIG_HOME/"
           << group
           << " (XDG_CONFIG_HOME defaults to ~/.config).\n"
              "Each suite is the SQLite database NAME.sqlite in it.\n"
              "\n"
              "Commands:\n"
              "  read               every key with its value, one line each: KEY = VALUE\n"
              "  read KEY           the value of KEY\n"
              "  write KEY VALUE    store VALUE as text\n"
              "  write KEY -string TEXT\n"
              "  write KEY -data HEX        bytes as hexadecimal digits, two per byte (\"\" for none)\n"
              "  write KEY -bool true|false|yes|no|1|0    (-boolean too)\n"
              "  write KEY -int INTEGER     a signed 64-bit integer (-integer too)\n"
              "  write KEY -float NUMBER    a finite decimal number, kept as a double\n"
              "  write KEY [-KIND] -        the value from standard input, for values too long\n"
              "                             for a command line, such as the cached user:\n"
              "                             defaults write user -data - < user.json\n"
              "                             Text and data are taken byte for byte, a final line\n"
              "                             break included (-data takes the bytes themselves, not\n"
              "                             hexadecimal); a Boolean or number as on the command\n"
              "                             line, with or without a final line break. A lone dash\n"
              "                             as text goes this way: printf - | defaults write KEY -\n"
              "  delete KEY         remove KEY\n"
              "  list               every key with its kind: KEY<tab>string|data|bool|integer|double\n"
              "  help, -h, --help   this text\n"
              "\n"
              "A write replaces whatever the key held, of any kind. Values are shown as: text as it\n"
              "is; data as its text when the bytes are valid UTF-8 (such as the cached user's JSON),\n"
              "else as hexadecimal digits between angle brackets, <00ff>; Booleans as 1 or 0;\n"
              "numbers in decimal. `list` tells the kinds apart. In what `read` and `list` show,\n"
              "backslashes, line breaks, tabs and other control characters are escaped\n"
              "(\\\\, \\n, \\r, \\t, \\xNN) so that each value takes one line.\n"
              "\n"
              "Only `write` creates a suite that does not exist yet.\n"
              "\n"
              "A suite whose file is damaged is not written to: the write fails as a read does\n"
              "(\"database disk image is malformed\") and the file is left as it is.\n"
              "\n"
              "Exit status: 0 on success; 1 when the key or the suite does not exist, the suite\n"
              "cannot be opened, read or written, or standard input cannot be read; 2 for a command\n"
              "line that cannot be understood, a suite name among them.\n";
}

}  // namespace defaults_tool
