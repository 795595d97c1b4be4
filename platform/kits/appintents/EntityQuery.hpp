#pragma once

#include "platform/runtime/concurrency/Task.hpp"

#include <optional>
#include <string>
#include <vector>

namespace appintents {

// A titled group of entities among suggestions or search results.
template <typename E>
struct IntentItemSection {
    std::optional<std::string> title;
    std::vector<E> items;
};

// Suggestions or search results: titled sections, or a plain list (one section without a title).
template <typename E>
struct IntentItemCollection {
    IntentItemCollection() = default;
    explicit IntentItemCollection(std::vector<IntentItemSection<E>> titled) : sections(std::move(titled)) {}
    static IntentItemCollection list(std::vector<E> items) {
        return IntentItemCollection({IntentItemSection<E>{std::nullopt, std::move(items)}});
    }

    std::vector<IntentItemSection<E>> sections;
};

// Which entities of a type exist: the ones that stored identifiers name, and the ones to suggest.
// An identifier is the entity's identifier as text; one that names nothing adds nothing.
template <typename E>
class EntityQuery {
public:
    virtual ~EntityQuery() = default;
    virtual concurrency::Task<std::vector<E>> entities(std::vector<std::string> identifiers) = 0;
    virtual concurrency::Task<IntentItemCollection<E>> suggestedEntities() = 0;
};

// A query that also finds entities by a text the user typed.
template <typename E>
class EntityStringQuery : public EntityQuery<E> {
public:
    virtual concurrency::Task<IntentItemCollection<E>> entitiesMatching(std::string text) = 0;
};

}  // namespace appintents
