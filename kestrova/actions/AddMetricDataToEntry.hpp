#pragma once

#include "kestrova/actions/IntentEntryAppEntity.hpp"
#include "kestrova/actions/IntentMetricAppEntity.hpp"
#include "platform/kits/appintents/AppIntent.hpp"
#include "platform/kits/appintents/IntentParameter.hpp"

#include <string_view>

namespace kestrova {

// "Add Metric Data to Entry": records one value of one of the user's metrics on an entry, such as
// the one a "Create Entry" step has just made. No custom intent before it, and no predictions.
class AddMetricDataToEntry final : public appintents::AppIntent {
public:
    static constexpr std::string_view typeName = "AddMetricDataToEntry";
    static const appintents::IntentMetadata& metadata();
    static appintents::ParameterSummary parameterSummary();

    // Throws IntentError.
    concurrency::Task<appintents::IntentResult> perform() override;

    // The request dialog speaks of an entry although it asks for the metric: that is what users see.
    appintents::IntentParameter<IntentMetricAppEntity> metric{
        *this, "metric",
        {.title = "Metric",
         .description = "The Metric that should get added to the entry.",
         .requestDialog = "Please choose which entry should get added to the entry."}};
    appintents::IntentParameter<IntentEntryAppEntity> entry{
        *this, "entry", {.title = "Entry", .description = "The Entry, the Metric should get added to."}};
    appintents::IntentParameter<double> value{
        *this, "value",
        {.title = "Value",
         .description = "The value of the metric that should get added.",
         .requestDialog = "Please enter the value of the Metric that should get added to the entry."}};
};

}  // namespace kestrova
