#include "platform/kits/appintents/IntentCatalogue.hpp"

#include "platform/kits/appintents/CustomLocalizedStringResourceConvertible.hpp"

#include <algorithm>

namespace appintents {
namespace {

std::string missingText(const std::string& intentTitle, const ParameterDescription& parameter) {
    std::string text = "\"" + intentTitle + "\" needs a value for " + parameter.options.title;
    if (parameter.options.requestDialog) {
        text += ": " + *parameter.options.requestDialog;
    }
    return text;
}

}  // namespace

MissingParameter::MissingParameter(const std::string& intentTitle, const ParameterDescription& parameter)
    : std::runtime_error(missingText(intentTitle, parameter)),
      parameter_(parameter.name),
      requestDialog_(parameter.options.requestDialog) {}

IntentDescription IntentCatalogue::describe(const AppIntent& intent, std::string_view typeName,
                                            const IntentMetadata& metadata, ParameterSummary summary) {
    IntentDescription description{std::string(typeName), metadata, {}, std::move(summary), {}};
    for (const ParameterSlot* slot : intent.parameters()) {
        description.parameters.push_back(
            {slot->name(), slot->options(), slot->kind(), slot->entityType(), slot->isRequired(), slot->defaultValue()});
    }
    for (const auto& prediction : intent.predictionConfiguration()) {
        description.predictions.push_back(prediction.parameters);
    }
    return description;
}

std::vector<IntentDescription> IntentCatalogue::intents() const {
    std::vector<IntentDescription> descriptions;
    for (const auto& each : intents_) {
        descriptions.push_back(each.description);
    }
    return descriptions;
}

const IntentDescription* IntentCatalogue::intent(std::string_view title) const {
    const auto found = std::ranges::find_if(intents_, [&](const Registered& each) {
        return each.description.metadata.title == title;
    });
    return found == intents_.end() ? nullptr : &found->description;
}

std::optional<std::string> IntentCatalogue::entityDisplayName(std::string_view typeName) const {
    const auto found = std::ranges::find(entityTypes_, typeName, &EntityType::name);
    return found == entityTypes_.end() ? std::nullopt : std::optional(found->displayName);
}

const IntentCatalogue::Registered& IntentCatalogue::registered(std::string_view title) const {
    const auto found = std::ranges::find_if(intents_, [&](const Registered& each) {
        return each.description.metadata.title == title;
    });
    if (found == intents_.end()) {
        throw std::invalid_argument("no action is called \"" + std::string(title) + "\"");
    }
    return *found;
}

const IntentCatalogue::EntityType& IntentCatalogue::entityType(std::string_view name) const {
    const auto found = std::ranges::find(entityTypes_, name, &EntityType::name);
    if (found == entityTypes_.end()) {
        throw std::invalid_argument("no entity type is called " + std::string(name));
    }
    return *found;
}

std::unique_ptr<AppIntent> IntentCatalogue::make(std::string_view title, const IntentValues& values) const {
    auto intent = registered(title).make();
    for (const auto& [name, value] : values) {
        ParameterSlot* slot = intent->parameter(name);
        if (slot == nullptr) {
            throw std::invalid_argument("\"" + std::string(title) + "\" has no parameter " + name);
        }
        slot->setValue(value);
    }
    return intent;
}

std::string IntentCatalogue::summary(std::string_view title, const IntentValues& values) const {
    return registered(title).description.summary.text(*make(title, values));
}

std::vector<DisplayRepresentation> IntentCatalogue::predictions(std::string_view title, const IntentValues& values) const {
    const auto intent = make(title, values);
    std::vector<DisplayRepresentation> displays;
    for (const auto& prediction : intent->predictionConfiguration()) {
        displays.push_back(prediction.display());
    }
    return displays;
}

concurrency::Task<IntentResult> IntentCatalogue::perform(std::string title, IntentValues values) const {
    const Registered& action = registered(title);
    const auto intent = make(title, values);
    for (const auto& parameter : action.description.parameters) {
        if (parameter.isRequired && !intent->parameter(parameter.name)->value()) {
            throw MissingParameter(action.description.metadata.title, parameter);
        }
    }
    if (action.description.metadata.openAppWhenRun && openApplication_) {
        openApplication_();
    }
    try {
        co_return co_await intent->perform();
    } catch (const CustomLocalizedStringResourceConvertible& error) {
        throw IntentFailure(error.localizedStringResource());
    } catch (const IntentFailure&) {
        throw;
    } catch (const std::exception& error) {
        throw IntentFailure(error.what());
    }
}

concurrency::Task<std::vector<EntityValue>> IntentCatalogue::entities(std::string typeName,
                                                                      std::vector<std::string> identifiers) const {
    const EntityType& type = entityType(typeName);
    if (!type.entities) {
        throw std::invalid_argument("nothing looks up a " + type.displayName);
    }
    co_return co_await type.entities(std::move(identifiers));
}

concurrency::Task<EntityCollection> IntentCatalogue::suggestedEntities(std::string typeName) const {
    const EntityType& type = entityType(typeName);
    if (!type.suggested) {
        throw std::invalid_argument("nothing suggests a " + type.displayName);
    }
    co_return co_await type.suggested();
}

concurrency::Task<EntityCollection> IntentCatalogue::entitiesMatching(std::string typeName, std::string text) const {
    const EntityType& type = entityType(typeName);
    if (!type.matching) {
        throw std::invalid_argument("a " + type.displayName + " cannot be searched");
    }
    co_return co_await type.matching(std::move(text));
}

}  // namespace appintents
