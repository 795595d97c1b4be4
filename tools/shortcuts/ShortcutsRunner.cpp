#include "tools/shortcuts/ShortcutsRunner.hpp"

#include "tools/shortcuts/ActionRunner.hpp"
#include "tools/shortcuts/CommandLine.hpp"

#include "kestrova/intents/CreateEntryIntent.hpp"
#include "kestrova/intents/IntentJournal.hpp"
#include "kestrova/intents/IntentSchema.hpp"
#include "kestrova/intents/OpenPublishViewIntent.hpp"
#include "kestrova/intents/SelectJournalIntent.hpp"
#include "kestrova/intents/SetQuietModeIntent.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/intents/ExtensionAnswerBounds.hpp"
#include "platform/kits/intents/ExtensionHost.hpp"
#include "platform/kits/intents/ExtensionTimeout.hpp"
#include "platform/kits/intents/File.hpp"

#include <array>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>

namespace shortcuts_tool {
namespace {

// The intent could not be run to its end; the message says why.
class RunFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr std::array<std::string_view, 7> codeNames = {
    "unspecified", "ready", "continueInApp", "inProgress", "success", "failure", "failureRequiringAppLaunch"};

std::string codeText(std::int64_t code) {
    const std::string name = code >= 0 && code < static_cast<std::int64_t>(codeNames.size())
                                 ? std::string(codeNames[static_cast<std::size_t>(code)])
                                 : "unknown";
    return name + " (" + std::to_string(code) + ")";
}

std::shared_ptr<intents::Intent> makeIntent(std::string_view name) {
    if (name == "create-entry" || name == "CreateEntryIntent") {
        return std::make_shared<kestrova::CreateEntryIntent>();
    }
    if (name == "set-quiet-mode" || name == "SetQuietModeIntent") {
        return std::make_shared<kestrova::SetQuietModeIntent>();
    }
    if (name == "open-publish-view" || name == "OpenPublishViewIntent") {
        return std::make_shared<kestrova::OpenPublishViewIntent>();
    }
    if (name == "select-journal" || name == "SelectJournalIntent") {
        return std::make_shared<kestrova::SelectJournalIntent>();
    }
    throw UsageError("no intent is named \"" + std::string(name) + "\"");
}

std::string describe(const intents::Object& object) {
    return "\"" + object.displayString() + "\" (" + object.identifier().value_or("no identifier") + ")";
}

std::string describe(const intents::ParameterValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return "\"" + *text + "\"";
    }
    if (const auto* number = std::get_if<intents::Number>(&value)) {
        return number->boolValue() ? "true" : "false";
    }
    const auto object = std::dynamic_pointer_cast<intents::Object>(std::get<std::shared_ptr<intents::Archivable>>(value));
    return object ? describe(*object) : "an object";
}

struct Options {
    std::string intentName;
    std::map<std::string, std::string, std::less<>> values;
    std::string extension;
    intents::ExtensionAnswerBounds bounds;
};

// A whole number of seconds from 1 on, as --timeout takes it.
std::chrono::seconds seconds(const std::string& text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // A day is far beyond any wait worth making, and keeps the deadline's
    // arithmetic clear of overflow.
    constexpr std::int64_t longest = 86'400;
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > longest) {
        throw UsageError("--timeout takes a whole number of seconds from 1 to " + std::to_string(longest) +
                         ", not \"" + text + "\"");
    }
    return std::chrono::seconds(value);
}

Options parse(std::span<const std::string_view> arguments, std::string extension) {
    if (arguments.size() < 2 || arguments[0] != "run") {
        throw UsageError(arguments.empty() ? "no command given" : "the commands are \"run\" and \"action\"");
    }
    Options options{
        .intentName = std::string(arguments[1]), .values = {}, .extension = std::move(extension), .bounds = {}};
    static constexpr std::array<std::string_view, 8> known = {"--journal", "--notes",      "--private",   "--file",
                                                              "--type",    "--quiet-mode", "--extension", "--timeout"};
    for (std::size_t index = 2; index < arguments.size(); index += 2) {
        const std::string_view option = arguments[index];
        if (std::find(known.begin(), known.end(), option) == known.end()) {
            throw UsageError("unknown option \"" + std::string(option) + "\"");
        }
        if (index + 1 >= arguments.size()) {
            throw UsageError(std::string(option) + " needs a value");
        }
        if (option == "--extension") {
            options.extension = std::string(arguments[index + 1]);
        } else if (option == "--timeout") {
            const auto bound = seconds(std::string(arguments[index + 1]));
            options.bounds = {.query = bound, .handling = bound};
        } else {
            options.values.insert_or_assign(std::string(option), std::string(arguments[index + 1]));
        }
    }
    return options;
}

// Fills the intent's parameters from the options that apply to its class.
void fill(intents::Intent& intent, const Options& options) {
    const auto given = [&](std::string_view option) -> const std::string* {
        const auto found = options.values.find(option);
        return found == options.values.end() ? nullptr : &found->second;
    };
    std::map<std::string_view, std::string_view> applies;
    for (const auto& parameter : intent.parameterDescriptions()) {
        if (parameter.name == "notes") {
            applies.emplace("--notes", "notes");
        } else if (parameter.name == "isPrivate") {
            applies.emplace("--private", "isPrivate");
        } else if (parameter.name == "file") {
            applies.emplace("--file", "file");
            applies.emplace("--type", "file");
        } else if (parameter.name == "quietMode") {
            applies.emplace("--quiet-mode", "quietMode");
        } else if (parameter.name == "journal") {
            applies.emplace("--journal", "journal");
        }
    }
    for (const auto& [option, value] : options.values) {
        if (!applies.contains(option)) {
            throw UsageError(std::string(intent.className()) + " takes no " + option);
        }
    }
    if (const auto* notes = given("--notes")) {
        intent.setParameterValue("notes", intents::ParameterValue(*notes));
    }
    if (const auto* isPrivate = given("--private")) {
        intent.setParameterValue("isPrivate", intents::ParameterValue(intents::Number(flag("--private", *isPrivate))));
    }
    if (const auto* quietMode = given("--quiet-mode")) {
        intent.setParameterValue("quietMode",
                                 intents::ParameterValue(intents::Number(flag("--quiet-mode", *quietMode))));
    }
    if (const auto* path = given("--file")) {
        std::error_code error;
        const auto absolute = std::filesystem::absolute(*path, error);
        if (error || !std::filesystem::is_regular_file(absolute, error)) {
            throw UsageError("the file " + *path + " is no file that can be read");
        }
        const auto* type = given("--type");
        intent.setObjectParameter(
            "file", std::make_shared<intents::File>(foundation::URL::fileURL(absolute.string()),
                                                    absolute.filename().string(),
                                                    type ? std::optional<std::string>(*type) : std::nullopt));
    } else if (given("--type")) {
        throw UsageError("--type describes the file of --file");
    }
}

// Runs one step of the conversation with the extension. An extension that
// has not answered within the step's bound has been stopped by the host;
// the user learns which step it was and how long the runner waited.
template <typename Step>
auto awaiting(const std::string& extensionName, const std::string& step, const Step& perform) {
    try {
        return perform();
    } catch (const intents::ExtensionTimeout& timeout) {
        throw RunFailure(extensionName + " did not answer the " + step + " within " +
                         std::to_string(timeout.bound().count()) + " s");
    }
}

}  // namespace

void ShortcutsRunner::printUsage(std::ostream& stream) const {
    stream << "usage: shortcuts run INTENT [--journal ID] [--notes TEXT] [--private true|false]\n"
              "                            [--file PATH [--type TYPE]] [--quiet-mode true|false]\n"
              "                            [--extension PATH] [--timeout SECONDS]\n"
              "       shortcuts action list\n"
              "       shortcuts action run NAME [--PARAMETER VALUE | --PARAMETER-search TEXT\n"
              "                                  | --PARAMETER @previous | --PARAMETER PATH [--type UTI]]...\n"
              "                                 [then NAME ...]...\n"
              "INTENT is create-entry, set-quiet-mode, open-publish-view or select-journal: a SiriKit intent,\n"
              "run by the intents extension. NAME is the title of one of the application's own actions\n"
              "(\"Create Entry\"), run by the application; @previous is what the step before gave back.\n";
}

int ShortcutsRunner::runActions(std::span<const std::string_view> arguments) {
    try {
        ActionRunner(application_, output_, input_, interactive_).run(arguments);
        return success;
    } catch (const UsageError& error) {
        output_.flush();
        errors_ << "shortcuts: " << error.what() << "\n";
        printUsage(errors_);
        return usageFailure;
    } catch (const std::exception& error) {
        output_.flush();
        errors_ << "shortcuts: " << error.what() << "\n";
        return failure;
    }
}

int ShortcutsRunner::run(std::span<const std::string_view> arguments) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help")) {
        printUsage(output_);
        return success;
    }
    if (!arguments.empty() && arguments[0] == "action") {
        return runActions(arguments.subspan(1));
    }
    kestrova::registerIntentSchema();
    Options options;
    std::shared_ptr<intents::Intent> intent;
    try {
        options = parse(arguments, extension_);
        intent = makeIntent(options.intentName);
        fill(*intent, options);
    } catch (const UsageError& error) {
        errors_ << "shortcuts: " << error.what() << "\n";
        printUsage(errors_);
        return usageFailure;
    }

    try {
        intents::ExtensionHost host(
            {options.extension},
            [this](std::string_view line) {
                output_ << line << "\n";
                output_.flush();
            },
            options.bounds);
        const std::string name = std::filesystem::path(options.extension).filename().string();
        for (const auto& parameter : intent->parameterDescriptions()) {
            if (!parameter.hasDynamicOptions) {
                continue;
            }
            const auto collection = awaiting(name, "options request of " + parameter.name,
                                             [&] { return host.provideOptions(intent, parameter.name); });
            output_ << "options of " << parameter.name << ":\n";
            for (const auto& section : collection->sections()) {
                output_ << "  " << section->title().value_or("(untitled)") << "\n";
                for (const auto& item : section->items()) {
                    output_ << "    " << describe(*item) << "\n";
                }
            }
            const auto* chosen = options.values.contains("--" + parameter.name)
                                     ? &options.values.find("--" + parameter.name)->second
                                     : nullptr;
            if (chosen != nullptr) {
                // The user picks an option; a journal not among them still
                // goes by the identifier given.
                std::shared_ptr<intents::Object> picked;
                for (const auto& section : collection->sections()) {
                    for (const auto& item : section->items()) {
                        if (!picked && (item->identifier() == *chosen || item->displayString() == *chosen)) {
                            picked = item;
                        }
                    }
                }
                auto journal = std::dynamic_pointer_cast<kestrova::IntentJournal>(picked);
                if (!journal) {
                    journal = std::make_shared<kestrova::IntentJournal>(*chosen, *chosen, std::nullopt);
                }
                intent->setObjectParameter(parameter.name, journal);
            } else if (const auto fallback = awaiting(name, "default request of " + parameter.name,
                                                      [&] { return host.defaultValue(intent, parameter.name); })) {
                output_ << "default " << parameter.name << ": " << describe(*fallback) << "\n";
                intent->setObjectParameter(parameter.name, fallback);
            }
        }
        for (const auto& parameter : intent->parameterDescriptions()) {
            if (!parameter.resolvable) {
                continue;
            }
            const auto result = awaiting(name, "resolve request of " + parameter.name,
                                         [&] { return host.resolve(intent, parameter.name); });
            output_ << "resolve " << parameter.name << ": " << intents::ResolutionResult::name(result->kind());
            if (result->value()) {
                output_ << " " << describe(*result->value());
            }
            output_ << "\n";
            if (result->kind() != intents::ResolutionResult::Kind::success) {
                throw RunFailure(parameter.name + " was not resolved (" +
                                 std::string(intents::ResolutionResult::name(result->kind())) + ")");
            }
            intent->setParameterValue(parameter.name, result->value());
        }
        const auto response = awaiting(name, "handle request", [&] { return host.handle(intent); });
        const auto code = response->platformCode();
        output_ << "response: " << codeText(code) << "\n";
        output_.flush();
        host.finish();
        if (code != 4) {
            errors_ << "shortcuts: " << intent->className() << " failed with the response code " << codeText(code)
                    << "\n";
            return failure;
        }
        return success;
    } catch (const std::exception& error) {
        output_.flush();
        errors_ << "shortcuts: " << error.what() << "\n";
        return failure;
    }
}

}  // namespace shortcuts_tool
