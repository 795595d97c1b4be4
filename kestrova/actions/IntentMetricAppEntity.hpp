#pragma once

#include "kestrova/model/Metric.hpp"
#include "platform/kits/appintents/DisplayRepresentation.hpp"
#include "platform/kits/appintents/EntityQuery.hpp"
#include "platform/kits/appintents/IntentValue.hpp"
#include "platform/runtime/foundation/core/UUID.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// A metric as an action's parameter. It carries its unit along, so that the value sent later has the
// unit the metric had when it was chosen, without looking it up again.
struct IntentMetricAppEntity {
    static constexpr std::string_view typeName = "IntentMetricAppEntity";

    foundation::UUID id;
    std::string name;
    std::string unit;

    static IntentMetricAppEntity from(const Metric& metric);

    static std::string typeDisplayName() { return "Metric"; }
    [[nodiscard]] std::string identifier() const { return id.uuidString(); }
    [[nodiscard]] appintents::DisplayRepresentation displayRepresentation() const { return {name, {}}; }
    // The name and the unit travel as the properties "name" and "unit".
    [[nodiscard]] appintents::EntityValue entityValue() const;
    // Throws std::invalid_argument for a value of another type, an identifier that is no UUID or a
    // value without its unit.
    static IntentMetricAppEntity fromValue(const appintents::EntityValue& value);

    friend bool operator==(const IntentMetricAppEntity&, const IntentMetricAppEntity&) = default;
};

// Which metrics exist for the actions: the cached user's, in their stored order, as plain lists;
// searched by name only.
class IntentMetricAppEntityQuery final : public appintents::EntityStringQuery<IntentMetricAppEntity> {
public:
    concurrency::Task<std::vector<IntentMetricAppEntity>> entities(std::vector<std::string> identifiers) override;
    concurrency::Task<appintents::IntentItemCollection<IntentMetricAppEntity>> suggestedEntities() override;
    concurrency::Task<appintents::IntentItemCollection<IntentMetricAppEntity>> entitiesMatching(
        std::string text) override;
};

}  // namespace kestrova
