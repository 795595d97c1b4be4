#include "tools/shortcuts/ActionRunner.hpp"

#include "tools/shortcuts/CommandLine.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace shortcuts_tool {
namespace {

using namespace appintents;

constexpr std::string_view previousResult = "@previous";
constexpr std::string_view searchSuffix = "-search";

std::string titleOf(const IntentDescription& intent, const std::string& name) {
    const auto found = std::ranges::find(intent.parameters, name, &ParameterDescription::name);
    return found == intent.parameters.end() ? name : found->options.title;
}

std::string sentence(const IntentDescription& intent, const SummarySentence& summary) {
    std::string text;
    for (const auto& piece : summary.pieces) {
        if (const auto* words = std::get_if<std::string>(&piece)) {
            text += *words;
        } else {
            text += "[" + titleOf(intent, std::get<ParameterReference>(piece).name) + "]";
        }
    }
    if (!summary.listed.empty()) {
        text += "  (then ";
        for (std::size_t index = 0; index < summary.listed.size(); ++index) {
            text += (index == 0 ? "" : ", ") + titleOf(intent, summary.listed[index]);
        }
        text += ")";
    }
    return text;
}

std::string kindText(const ParameterDescription& parameter) {
    switch (parameter.kind) {
    case ValueKind::boolean:
        return "true or false";
    case ValueKind::number:
        return "a number";
    case ValueKind::text:
        return "text";
    case ValueKind::entity:
        return "an identifier, --" + parameter.name + std::string(searchSuffix) + " TEXT or @previous";
    case ValueKind::file:
        return "a file's path, then --type UTI or none";
    }
    return "a value";
}

std::string shown(const IntentValue& value) {
    const std::string text = displayText(value, std::nullopt);
    return std::holds_alternative<std::string>(value) ? "\"" + text + "\"" : text;
}

std::string described(const EntityValue& entity) {
    return entity.display.title + " (" + entity.identifier + ")";
}

double number(const std::string& option, const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        throw UsageError(option + " takes a number, not \"" + text + "\"");
    }
    return value;
}

foundation::Data contents(const std::string& path) {
    std::error_code error;
    std::ifstream file(path, std::ios::binary);
    if (!std::filesystem::is_regular_file(path, error) || !file) {
        throw UsageError("the file " + path + " is no file that can be read");
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        throw UsageError("the file " + path + " is no file that can be read");
    }
    return foundation::Data(bytes);
}

}  // namespace

// One parameter's value as the command line gives it, before the application is asked about it.
struct ActionRunner::Given {
    enum class Source { literal, identifier, search, previous, file };

    const ParameterDescription* parameter = nullptr;
    Source source = Source::literal;
    std::optional<IntentValue> literal;
    std::string text;  // the identifier, the search or the file's path
    foundation::Data data;
    std::optional<std::string> type;

    // The value `text` gives `parameter` as the option `option` has it.
    static Given from(const ParameterDescription& parameter, const std::string& option, const std::string& text) {
        Given given{&parameter, Source::literal, std::nullopt, text, {}, std::nullopt};
        switch (parameter.kind) {
        case ValueKind::boolean:
            given.literal = flag(option, text);
            break;
        case ValueKind::number:
            given.literal = number(option, text);
            break;
        case ValueKind::text:
            given.literal = text;
            break;
        case ValueKind::entity:
            given.source = Source::identifier;
            break;
        case ValueKind::file:
            given.source = Source::file;
            given.data = contents(text);
            break;
        }
        return given;
    }
};

struct ActionRunner::Step {
    const IntentDescription* intent = nullptr;
    std::vector<Given> given;
};

void ActionRunner::run(std::span<const std::string_view> arguments) {
    if (arguments.empty() || (arguments[0] != "list" && arguments[0] != "run")) {
        throw UsageError(arguments.empty() ? "action needs list or run" : "the action commands are list and run");
    }
    if (arguments[0] == "list") {
        if (arguments.size() > 1) {
            throw UsageError("action list takes nothing more");
        }
        const auto client = connect_();
        list(*client);
        return;
    }
    if (arguments.size() < 2) {
        throw UsageError("action run needs the name of an action");
    }
    const auto client = connect_();
    const auto intents = client->intents();
    play(*client, plan(arguments.subspan(1), intents));
}

void ActionRunner::list(IntentClient& client) {
    for (const auto& intent : client.intents()) {
        output_ << intent.metadata.title << "\n";
        if (intent.metadata.description) {
            output_ << "  " << *intent.metadata.description << "\n";
        }
        if (intent.metadata.openAppWhenRun) {
            output_ << "  brings the application forward\n";
        }
        if (intent.summary.whenParameter && intent.summary.otherwise) {
            output_ << "  summary with " << titleOf(intent, *intent.summary.whenParameter) << ": "
                    << sentence(intent, intent.summary.sentence) << "\n"
                    << "  summary without: " << sentence(intent, *intent.summary.otherwise) << "\n";
        } else {
            output_ << "  summary: " << sentence(intent, intent.summary.sentence) << "\n";
        }
        for (const auto& parameter : intent.parameters) {
            output_ << "  --" << parameter.name << ": " << parameter.options.title << ", " << kindText(parameter) << ", "
                    << (parameter.isRequired ? "required" : "optional");
            if (parameter.defaultValue) {
                output_ << ", default " << shown(*parameter.defaultValue);
            }
            output_ << "\n";
            if (parameter.options.description) {
                output_ << "      " << *parameter.options.description << "\n";
            }
            if (parameter.options.requestDialog) {
                output_ << "      asks \"" << *parameter.options.requestDialog << "\"\n";
            }
        }
        for (const auto& prediction : intent.predictions) {
            output_ << "  prediction:";
            for (std::size_t index = 0; index < prediction.size(); ++index) {
                output_ << (index == 0 ? " " : ", ") << titleOf(intent, prediction[index]);
            }
            output_ << "\n";
        }
    }
}

std::vector<ActionRunner::Step> ActionRunner::plan(std::span<const std::string_view> arguments,
                                                   const std::vector<IntentDescription>& intents) {
    std::vector<Step> steps;
    std::size_t index = 0;
    while (index < arguments.size()) {
        const std::string name(arguments[index++]);
        const auto intent = std::ranges::find(intents, name, [](const IntentDescription& each) { return each.metadata.title; });
        if (intent == intents.end()) {
            throw UsageError("no action is called \"" + name + "\" (shortcuts action list shows them)");
        }
        Step step{&*intent, {}};
        while (index < arguments.size() && arguments[index] != "then") {
            const std::string option(arguments[index]);
            if (!option.starts_with("--") || index + 1 >= arguments.size()) {
                throw UsageError(option.starts_with("--") ? option + " needs a value" : "\"" + option + "\" is no option");
            }
            const std::string value(arguments[index + 1]);
            index += 2;
            if (option == "--type") {
                if (step.given.empty() || step.given.back().source != Given::Source::file || step.given.back().type) {
                    throw UsageError("--type describes the file given just before it");
                }
                step.given.back().type = value;
                continue;
            }
            std::string parameterName = option.substr(2);
            const bool search = parameterName.ends_with(searchSuffix);
            if (search) {
                parameterName.resize(parameterName.size() - searchSuffix.size());
            }
            const auto parameter = std::ranges::find(intent->parameters, parameterName, &ParameterDescription::name);
            if (parameter == intent->parameters.end() || (search && parameter->kind != ValueKind::entity)) {
                throw UsageError("\"" + name + "\" takes no " + option);
            }
            if (std::ranges::any_of(step.given, [&](const Given& given) { return given.parameter == &*parameter; })) {
                throw UsageError("the value of " + parameter->name + " is given twice");
            }
            if (value == previousResult) {
                if (steps.empty() || parameter->kind != ValueKind::entity || search) {
                    throw UsageError(std::string(previousResult) + " stands for the entity of the step before; " + option +
                                     (steps.empty() ? " is in the first step" : " takes no entity"));
                }
                step.given.push_back(Given{&*parameter, Given::Source::previous, std::nullopt, value, {}, std::nullopt});
            } else if (search) {
                step.given.push_back(Given{&*parameter, Given::Source::search, std::nullopt, value, {}, std::nullopt});
            } else {
                step.given.push_back(Given::from(*parameter, option, value));
            }
        }
        steps.push_back(std::move(step));
        if (index < arguments.size()) {
            ++index;  // then
            if (index == arguments.size()) {
                throw UsageError("then needs the name of an action");
            }
        }
    }
    return steps;
}

void ActionRunner::play(IntentClient& client, const std::vector<Step>& steps) {
    std::optional<EntityValue> previous;
    for (const auto& step : steps) {
        const std::string& title = step.intent->metadata.title;
        IntentValues values;
        for (const auto& given : step.given) {
            values.insert_or_assign(given.parameter->name, resolve(client, given, previous));
        }
        std::set<std::string> asked;
        std::optional<IntentResult> result;
        while (!result) {
            try {
                result = client.perform(title, values);
            } catch (const MissingParameter& missing) {
                const auto parameter = std::ranges::find(step.intent->parameters, missing.parameter(), &ParameterDescription::name);
                if (!interactive_ || parameter == step.intent->parameters.end() || !asked.insert(missing.parameter()).second) {
                    throw;
                }
                values.insert_or_assign(missing.parameter(), this->asked(client, *parameter, missing));
            }
        }
        if (result->value) {
            output_ << result->value->display.title << "\n";
        }
        output_.flush();
        previous = result->value;
    }
}

IntentValue ActionRunner::resolve(IntentClient& client, const Given& given, const std::optional<EntityValue>& previous) {
    const ParameterDescription& parameter = *given.parameter;
    // The entity type goes by its name to the application, and by the parameter's title to the user.
    const std::string type = parameter.entityType.value_or("");
    const std::string& shownType = parameter.options.title;
    switch (given.source) {
    case Given::Source::literal:
        return *given.literal;
    case Given::Source::previous:
        if (!previous) {
            throw std::runtime_error("the step before gave back nothing for --" + parameter.name);
        }
        return *previous;
    case Given::Source::identifier: {
        const auto found = client.entities(type, {given.text});
        if (found.empty()) {
            throw std::runtime_error("no " + shownType + " has the identifier \"" + given.text + "\"");
        }
        return found.front();
    }
    case Given::Source::search: {
        std::vector<EntityValue> found;
        for (const auto& section : client.entitiesMatching(type, given.text)) {
            found.insert(found.end(), section.items.begin(), section.items.end());
        }
        if (found.empty()) {
            throw std::runtime_error("no " + shownType + " matches \"" + given.text + "\"");
        }
        if (found.size() > 1) {
            output_ << "several of " << shownType << " match \"" << given.text << "\":";
            for (std::size_t index = 0; index < found.size(); ++index) {
                output_ << (index == 0 ? " " : ", ") << described(found[index]);
            }
            output_ << "; taking " << described(found.front()) << "\n";
        }
        return found.front();
    }
    case Given::Source::file: {
        const std::string filename = std::filesystem::path(given.text).filename().string();
        return IntentFile{given.data, filename,
                          given.type ? std::optional(UTType(*given.type)) : UTType::guessing(filename, given.data.view())};
    }
    }
    throw std::logic_error("a value from nowhere");
}

IntentValue ActionRunner::asked(IntentClient& client, const ParameterDescription& parameter, const MissingParameter& missing) {
    output_ << missing.requestDialog().value_or(parameter.options.title + "?") << " ";
    output_.flush();
    std::string line;
    if (!std::getline(input_, line)) {
        throw std::runtime_error(std::string(missing.what()) + " (no answer came)");
    }
    try {
        return resolve(client, Given::from(parameter, "the answer for " + parameter.options.title, line), std::nullopt);
    } catch (const UsageError& error) {
        throw std::runtime_error(error.what());
    }
}

}  // namespace shortcuts_tool
