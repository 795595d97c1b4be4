#include "kestrova/actions/AddMetricDataToEntry.hpp"

#include "kestrova/actions/ServiceCall.hpp"
#include "kestrova/model/MetricData.hpp"
#include "kestrova/networking/Networking.hpp"

namespace kestrova {

using appintents::ParameterReference;

const appintents::IntentMetadata& AddMetricDataToEntry::metadata() {
    static const appintents::IntentMetadata made{.title = "Add Metric Data to Entry"};
    return made;
}

appintents::ParameterSummary AddMetricDataToEntry::parameterSummary() {
    return appintents::ParameterSummary::always({{"Add Metric ", ParameterReference{"metric"}, " with value ",
                                                  ParameterReference{"value"}, " to ", ParameterReference{"entry"}},
                                                 {}});
}

concurrency::Task<appintents::IntentResult> AddMetricDataToEntry::perform() {
    const std::string token = sessionToken();
    // The unit is the one the metric had when it was chosen.
    MetricData record{.id = foundation::UUID(),
                      .unit = metric->unit,
                      .value = *value,
                      .metricId = metric->id,
                      .entryId = entry->id()};
    co_await serviceCall(Networking::createMetricData(std::move(record), token));
    co_return appintents::IntentResult::result();
}

}  // namespace kestrova
