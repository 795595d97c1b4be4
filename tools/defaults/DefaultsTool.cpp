#include "tools/defaults/DefaultsTool.hpp"

#include "tools/defaults/Command.hpp"
#include "tools/defaults/UsageError.hpp"
#include "tools/defaults/ValueText.hpp"

#include "platform/foundation/AppGroup.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/foundation/UserDefaultsError.hpp"

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
                << "usage: defaults [-suite NAME] read [KEY] | write KEY [-KIND] VALUE | delete KEY | list\n"
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

    // Looking must not leave a new, empty suite behind (a mistyped -suite
    // would otherwise create a file); only a write creates one.
    if (command.action != Command::Action::write) {
        const auto file = foundation::UserDefaults::databaseFile(suiteName);
        std::error_code ignored;
        if (!std::filesystem::exists(file, ignored)) {
            return fail("the suite " + inQuotes(suiteName) + " does not exist (there is no file " +
                        inQuotes(file.string()) + ")");
        }
    }
    foundation::UserDefaults defaults(suiteName);

    switch (command.action) {
    case Command::Action::readAll:
        for (const auto& [key, value] : defaults.dictionaryRepresentation()) {
            output_ << ValueText::oneLine(key) << " = " << ValueText::oneLine(ValueText::plain(value))
                    << "\n";
        }
        return success;
    case Command::Action::read: {
        const auto value = defaults.object(command.key);
        if (!value) {
            return fail(missingKey(command.key, suiteName));
        }
        output_ << ValueText::plain(*value) << "\n";
        return success;
    }
    case Command::Action::write:
        defaults.set(command.value, command.key);
        return success;
    case Command::Action::remove:
        if (!defaults.object(command.key)) {
            return fail(missingKey(command.key, suiteName));
        }
        defaults.removeObject(command.key);
        return success;
    case Command::Action::list:
        for (const auto& [key, value] : defaults.dictionaryRepresentation()) {
            output_ << ValueText::oneLine(key) << "\t" << foundation::kindName(value) << "\n";
        }
        return success;
    case Command::Action::help:
        break;  // shown above, without opening a suite
    }
    return success;
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
              "  read KEY           the value of KEY, as it is\n"
              "  write KEY VALUE    store VALUE as text\n"
              "  write KEY -string TEXT\n"
              "  write KEY -data HEX        bytes as hexadecimal digits, two per byte (\"\" for none)\n"
              "  write KEY -bool true|false|yes|no|1|0    (-boolean too)\n"
              "  write KEY -int INTEGER     a signed 64-bit integer (-integer too)\n"
              "  write KEY -float NUMBER    a finite decimal number, kept as a double\n"
              "  delete KEY         remove KEY\n"
              "  list               every key with its kind: KEY<tab>string|data|bool|integer|double\n"
              "  help, -h, --help   this text\n"
              "\n"
              "A write replaces whatever the key held, of any kind. Values are shown as: text as it\n"
              "is; data as its text when the bytes are valid UTF-8 (such as the cached user's JSON),\n"
              "else as hexadecimal digits between angle brackets, <00ff>; Booleans as 1 or 0;\n"
              "numbers in decimal. `list` tells the kinds apart. In `read` without a key and in\n"
              "`list`, backslashes, line breaks, tabs and other control characters are escaped\n"
              "(\\\\, \\n, \\r, \\t, \\xNN) so that each key takes one line.\n"
              "\n"
              "Only `write` creates a suite that does not exist yet.\n"
              "\n"
              "Exit status: 0 on success; 1 when the key or the suite does not exist or the suite\n"
              "cannot be opened, read or written; 2 for a command line that cannot be understood.\n";
}

}  // namespace defaults_tool
