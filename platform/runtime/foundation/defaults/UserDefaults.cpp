#include "platform/runtime/foundation/defaults/UserDefaults.hpp"

#include "platform/runtime/base/Overloaded.hpp"
#include "platform/runtime/foundation/defaults/AppGroup.hpp"
#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace foundation {
namespace {

constexpr std::string_view databaseExtension = ".sqlite";

[[noreturn]] void failToCreate(const std::filesystem::path& directory, int error) {
    throw UserDefaultsError("cannot create the app-group directory \"" + directory.string() +
                            "\": " + std::strerror(error));
}

// Every directory made here gets mode 0700, whatever the umask: the suite
// holds the login token. Directories that already exist are left as they are.
void createPrivateDirectories(const std::filesystem::path& directory) {
    struct stat status {};
    if (::stat(directory.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        return;
    }
    std::filesystem::path current;
    for (const auto& component : directory) {
        current /= component;
        if (::mkdir(current.c_str(), 0700) == 0) {
            if (::chmod(current.c_str(), 0700) != 0) {
                failToCreate(current, errno);
            }
        } else if (errno != EEXIST) {
            failToCreate(current, errno);
        }
    }
    if (::stat(directory.c_str(), &status) != 0) {
        failToCreate(directory, errno);
    }
    if (!S_ISDIR(status.st_mode)) {
        failToCreate(directory, ENOTDIR);
    }
}

DefaultsDatabase openDatabase(std::string_view suiteName) {
    auto file = UserDefaults::databaseFile(suiteName);
    createPrivateDirectories(file.parent_path());
    return DefaultsDatabase(std::move(file));
}

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view whiteSpace = " \t\n\r\f\v";
    const auto first = text.find_first_not_of(whiteSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(whiteSpace) - first + 1);
}

template <typename Number>
std::optional<Number> parseWhole(std::string_view text) {
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return number;
}

std::int64_t truncated(double number) {
    constexpr double limit = 9223372036854775808.0;  // 2^63, exactly representable
    if (std::isnan(number)) {
        return 0;
    }
    if (number >= limit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (number < -limit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(number);
}

// An integer text is read as an integer first, so that "9007199254740993"
// keeps every digit instead of passing through a double.
std::optional<std::int64_t> textAsInteger(std::string_view text) {
    const auto number = trimmed(text);
    if (auto integer = parseWhole<std::int64_t>(number)) {
        return integer;
    }
    if (auto real = parseWhole<double>(number)) {
        return truncated(*real);
    }
    return std::nullopt;
}

std::optional<double> textAsDouble(std::string_view text) {
    return parseWhole<double>(trimmed(text));
}

bool equalsIgnoringCase(std::string_view text, std::string_view lowerCase) {
    if (text.size() != lowerCase.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != lowerCase[i]) {
            return false;
        }
    }
    return true;
}

bool textAsBoolean(std::string_view text) {
    const auto word = trimmed(text);
    if (equalsIgnoringCase(word, "true") || equalsIgnoringCase(word, "yes")) {
        return true;
    }
    if (equalsIgnoringCase(word, "false") || equalsIgnoringCase(word, "no")) {
        return false;
    }
    const auto number = textAsDouble(word);
    return number.has_value() && *number != 0.0;
}

}  // namespace

UserDefaults::UserDefaults(std::string_view suiteName)
    : suiteName_(suiteName), database_(openDatabase(suiteName)) {}

void UserDefaults::requireUsableName(std::string_view suiteName) {
    if (suiteName.empty()) {
        throw UserDefaultsError("a defaults suite needs a name");
    }
    if (suiteName.front() == '.' ||
        suiteName.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos) {
        throw UserDefaultsError("\"" + std::string(suiteName) +
                                "\" cannot name a defaults suite: a name must not start with a dot or hold a "
                                "slash or a NUL character");
    }
}

std::filesystem::path UserDefaults::databaseFile(std::string_view suiteName) {
    requireUsableName(suiteName);
    const auto directory = AppGroup::containerDirectory();
    if (!directory) {
        throw UserDefaultsError(
            "no app-group directory: none of KESTROVA_APP_GROUP_DIR, XDG_CONFIG_HOME and HOME is set");
    }
    return *directory / (std::string(suiteName) + std::string(databaseExtension));
}

std::optional<DefaultsValue> UserDefaults::object(std::string_view key) const {
    return database_.value(key);
}

std::optional<std::string> UserDefaults::string(std::string_view key) const {
    auto value = database_.value(key);
    if (auto* text = value ? std::get_if<std::string>(&*value) : nullptr) {
        return std::move(*text);
    }
    return std::nullopt;
}

std::optional<Data> UserDefaults::data(std::string_view key) const {
    auto value = database_.value(key);
    if (auto* bytes = value ? std::get_if<Data>(&*value) : nullptr) {
        return std::move(*bytes);
    }
    return std::nullopt;
}

bool UserDefaults::boolean(std::string_view key) const {
    const auto value = database_.value(key);
    if (!value) {
        return false;
    }
    return std::visit(base::Overloaded{
                          [](const std::string& text) { return textAsBoolean(text); },
                          [](const Data&) { return false; },
                          [](bool flag) { return flag; },
                          [](std::int64_t number) { return number != 0; },
                          [](double number) { return number != 0.0; },
                      },
                      *value);
}

std::int64_t UserDefaults::integer(std::string_view key) const {
    const auto value = database_.value(key);
    if (!value) {
        return 0;
    }
    return std::visit(base::Overloaded{
                          [](const std::string& text) { return textAsInteger(text).value_or(0); },
                          [](const Data&) { return std::int64_t{0}; },
                          [](bool flag) { return std::int64_t{flag ? 1 : 0}; },
                          [](std::int64_t number) { return number; },
                          [](double number) { return truncated(number); },
                      },
                      *value);
}

double UserDefaults::doubleValue(std::string_view key) const {
    const auto value = database_.value(key);
    if (!value) {
        return 0.0;
    }
    return std::visit(base::Overloaded{
                          [](const std::string& text) { return textAsDouble(text).value_or(0.0); },
                          [](const Data&) { return 0.0; },
                          [](bool flag) { return flag ? 1.0 : 0.0; },
                          [](std::int64_t number) { return static_cast<double>(number); },
                          [](double number) { return number; },
                      },
                      *value);
}

std::map<std::string, DefaultsValue> UserDefaults::dictionaryRepresentation() const {
    return database_.values();
}

void UserDefaults::set(const DefaultsValue& value, std::string_view key) {
    database_.setValue(key, value);
}

void UserDefaults::removeObject(std::string_view key) {
    database_.removeValue(key);
}

}  // namespace foundation
