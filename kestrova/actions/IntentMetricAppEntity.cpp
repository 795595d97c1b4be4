#include "kestrova/actions/IntentMetricAppEntity.hpp"

#include "kestrova/actions/CachedUser.hpp"

#include <optional>
#include <stdexcept>

namespace kestrova {
namespace {

using Collection = appintents::IntentItemCollection<IntentMetricAppEntity>;

constexpr std::string_view nameKey = "name";
constexpr std::string_view unitKey = "unit";

std::vector<IntentMetricAppEntity> cachedEntities(const std::optional<foundation::Text>& search) {
    std::vector<IntentMetricAppEntity> entities;
    for (const auto& metric : cachedMetrics()) {
        if (!search || metric.name.localizedCaseInsensitiveContains(*search)) {
            entities.push_back(IntentMetricAppEntity::from(metric));
        }
    }
    return entities;
}

}  // namespace

IntentMetricAppEntity IntentMetricAppEntity::from(const Metric& metric) {
    return {metric.id, metric.name.str(), metric.unit.str()};
}

appintents::EntityValue IntentMetricAppEntity::entityValue() const {
    return {std::string(typeName),
            identifier(),
            displayRepresentation(),
            {{std::string(nameKey), "", name}, {std::string(unitKey), "", unit}}};
}

IntentMetricAppEntity IntentMetricAppEntity::fromValue(const appintents::EntityValue& value) {
    if (value.typeName != typeName) {
        throw std::invalid_argument("a " + value.typeName + " is no metric");
    }
    const auto id = foundation::UUID::fromString(value.identifier);
    if (!id) {
        throw std::invalid_argument("the metric identifier " + value.identifier + " is no UUID");
    }
    auto unit = value.property<std::string>(unitKey);
    if (!unit) {
        throw std::invalid_argument("the metric " + value.identifier + " comes without its unit");
    }
    return {*id, value.property<std::string>(nameKey).value_or(value.display.title), std::move(*unit)};
}

concurrency::Task<std::vector<IntentMetricAppEntity>> IntentMetricAppEntityQuery::entities(
    std::vector<std::string> identifiers) {
    std::vector<IntentMetricAppEntity> found;
    for (const auto& identifier : identifiers) {
        const auto id = foundation::UUID::fromString(identifier);
        if (!id) {
            continue;  // names no metric
        }
        for (const auto& metric : cachedMetrics()) {
            if (metric.id == *id) {
                found.push_back(IntentMetricAppEntity::from(metric));
            }
        }
    }
    co_return found;
}

concurrency::Task<Collection> IntentMetricAppEntityQuery::suggestedEntities() {
    co_return Collection::list(cachedEntities(std::nullopt));
}

concurrency::Task<Collection> IntentMetricAppEntityQuery::entitiesMatching(std::string text) {
    co_return Collection::list(cachedEntities(foundation::Text(std::move(text))));
}

}  // namespace kestrova
