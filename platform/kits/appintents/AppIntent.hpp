#pragma once

#include "platform/kits/appintents/IntentParameter.hpp"
#include "platform/kits/appintents/IntentPrediction.hpp"
#include "platform/kits/appintents/IntentValue.hpp"
#include "platform/kits/appintents/ParameterSummary.hpp"
#include "platform/runtime/concurrency/Task.hpp"

#include <optional>
#include <string>
#include <vector>

namespace appintents {

// What an action is, whatever its values.
struct IntentMetadata {
    std::string title{};
    std::optional<std::string> description{};
    // The custom intent class this action succeeds, for a migrated intent.
    std::optional<std::string> intentClassName{};
    // Whether the application comes to the front before the action runs.
    bool openAppWhenRun = false;
    bool isPredictable = false;
};

// What a run gives back: nothing, or an entity a later step can use.
struct IntentResult {
    std::optional<EntityValue> value;

    static IntentResult result() { return {}; }
    static IntentResult result(EntityValue value) { return {std::move(value)}; }
};

// An action: a value made anew for each run, whose parameters the framework fills before it calls
// `perform`. A type of action gives `static const IntentMetadata& metadata()` and
// `static ParameterSummary parameterSummary()` beside these members. The parameters are members of
// the action and enrol themselves here, in their order, so an action is neither copied nor moved.
class AppIntent {
public:
    AppIntent() = default;
    AppIntent(const AppIntent&) = delete;
    AppIntent& operator=(const AppIntent&) = delete;
    virtual ~AppIntent() = default;

    virtual concurrency::Task<IntentResult> perform() = 0;
    [[nodiscard]] virtual std::vector<IntentPrediction> predictionConfiguration() const { return {}; }

    [[nodiscard]] const std::vector<ParameterSlot*>& parameters() const noexcept { return parameters_; }
    [[nodiscard]] ParameterSlot* parameter(std::string_view name) const;

private:
    friend class ParameterSlot;
    std::vector<ParameterSlot*> parameters_;
};

}  // namespace appintents
