#pragma once

#include "platform/kits/appintents/AppEntity.hpp"
#include "platform/kits/appintents/AppIntent.hpp"
#include "platform/kits/appintents/EntityQuery.hpp"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace appintents {

// A parameter as a runner lists it.
struct ParameterDescription {
    std::string name;
    ParameterOptions options;
    ValueKind kind = ValueKind::text;
    std::optional<std::string> entityType;
    bool isRequired = false;
    std::optional<IntentValue> defaultValue;
};

// An action as a runner lists it: by its title, with its parameters in their order, its summary
// and the parameters of each of its predictions.
struct IntentDescription {
    std::string typeName;
    IntentMetadata metadata;
    std::vector<ParameterDescription> parameters;
    ParameterSummary summary;
    std::vector<std::vector<std::string>> predictions;
};

// Entities found or suggested, in sections (one without a title for a plain list).
struct EntitySection {
    std::optional<std::string> title;
    std::vector<EntityValue> items;
};
using EntityCollection = std::vector<EntitySection>;

// A required parameter had no value when the action was to run: what to ask the user.
class MissingParameter : public std::runtime_error {
public:
    MissingParameter(const std::string& intentTitle, const ParameterDescription& parameter);
    [[nodiscard]] const std::string& parameter() const noexcept { return parameter_; }
    [[nodiscard]] const std::optional<std::string>& requestDialog() const noexcept { return requestDialog_; }

private:
    std::string parameter_;
    std::optional<std::string> requestDialog_;
};

// An action failed: what() is the text the user is shown.
class IntentFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The application's actions and entity types, and what the framework does with them: list them,
// make an action from parameter values (defaults filled in), say its summary and predictions, run
// it, and answer entity queries. An action that opens the application has it brought forward
// before it runs. Made at start; the operations run on the main thread.
class IntentCatalogue {
public:
    template <typename Intent>
    void addIntent() {
        auto made = std::make_unique<Intent>();
        intents_.push_back(Registered{describe(*made, Intent::typeName, Intent::metadata(), Intent::parameterSummary()),
                                      [] { return std::make_unique<Intent>(); }});
    }

    // An entity type; `query` answers for it, none for a transient type that nothing looks up.
    template <AppEntity E>
    void addEntity(std::shared_ptr<EntityQuery<E>> query) {
        EntityType type{std::string(E::typeName), E::typeDisplayName(), {}, {}, {}};
        if (query) {
            type.entities = [query](std::vector<std::string> identifiers) -> concurrency::Task<std::vector<EntityValue>> {
                return valuesOf(query->entities(std::move(identifiers)));
            };
            type.suggested = [query]() { return collectionOf(query->suggestedEntities()); };
            if (auto search = std::dynamic_pointer_cast<EntityStringQuery<E>>(query)) {
                type.matching = [search](std::string text) { return collectionOf(search->entitiesMatching(std::move(text))); };
            }
        }
        entityTypes_.push_back(std::move(type));
    }

    // Brings the application forward (opening a window when it has none) for an action that opens it.
    void setOpenApplication(std::function<void()> open) { openApplication_ = std::move(open); }

    [[nodiscard]] std::vector<IntentDescription> intents() const;
    // By its title ("Create Entry"); none for a title of no action.
    [[nodiscard]] const IntentDescription* intent(std::string_view title) const;
    // The display name of an entity type ("Journal"); none for a type of no entity.
    [[nodiscard]] std::optional<std::string> entityDisplayName(std::string_view typeName) const;

    // The action of that title with these values and the defaults for the rest. Throws
    // std::invalid_argument for an unknown title, parameter or a value of the wrong kind.
    [[nodiscard]] std::unique_ptr<AppIntent> make(std::string_view title, const IntentValues& values) const;
    // The summary's sentence and the predictions' displays for these values.
    [[nodiscard]] std::string summary(std::string_view title, const IntentValues& values) const;
    [[nodiscard]] std::vector<DisplayRepresentation> predictions(std::string_view title, const IntentValues& values) const;

    // Runs the action. Throws MissingParameter for a required parameter without a value, before
    // anything runs; IntentFailure with the user's text when the action fails; and
    // std::invalid_argument as make() does.
    concurrency::Task<IntentResult> perform(std::string title, IntentValues values) const;

    // The entity queries; std::invalid_argument for a type that has no such query.
    concurrency::Task<std::vector<EntityValue>> entities(std::string typeName, std::vector<std::string> identifiers) const;
    concurrency::Task<EntityCollection> suggestedEntities(std::string typeName) const;
    concurrency::Task<EntityCollection> entitiesMatching(std::string typeName, std::string text) const;

private:
    struct Registered {
        IntentDescription description;
        std::function<std::unique_ptr<AppIntent>()> make;
    };
    struct EntityType {
        std::string name;
        std::string displayName;
        std::function<concurrency::Task<std::vector<EntityValue>>(std::vector<std::string>)> entities;
        std::function<concurrency::Task<EntityCollection>()> suggested;
        std::function<concurrency::Task<EntityCollection>(std::string)> matching;
    };

    static IntentDescription describe(const AppIntent& intent, std::string_view typeName, const IntentMetadata& metadata,
                                      ParameterSummary summary);
    [[nodiscard]] const Registered& registered(std::string_view title) const;
    [[nodiscard]] const EntityType& entityType(std::string_view name) const;

    template <typename E>
    static concurrency::Task<std::vector<EntityValue>> valuesOf(concurrency::Task<std::vector<E>> found) {
        std::vector<EntityValue> values;
        const std::vector<E> entities = co_await std::move(found);
        for (const auto& entity : entities) {
            values.push_back(entity.entityValue());
        }
        co_return values;
    }
    template <typename E>
    static concurrency::Task<EntityCollection> collectionOf(concurrency::Task<IntentItemCollection<E>> found) {
        EntityCollection collection;
        const IntentItemCollection<E> items = co_await std::move(found);
        for (const auto& section : items.sections) {
            EntitySection values{section.title, {}};
            for (const auto& entity : section.items) {
                values.items.push_back(entity.entityValue());
            }
            collection.push_back(std::move(values));
        }
        co_return collection;
    }

    std::vector<Registered> intents_;
    std::vector<EntityType> entityTypes_;
    std::function<void()> openApplication_;
};

}  // namespace appintents
