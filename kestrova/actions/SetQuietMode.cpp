#include "kestrova/actions/SetQuietMode.hpp"

#include "kestrova/actions/ServiceCall.hpp"
#include "kestrova/networking/Networking.hpp"

namespace kestrova {

using appintents::ParameterReference;

const appintents::IntentMetadata& SetQuietMode::metadata() {
    static const appintents::IntentMetadata made{
        .title = "Set Quiet Mode", .intentClassName = "SetQuietModeIntent", .isPredictable = true};
    return made;
}

appintents::ParameterSummary SetQuietMode::parameterSummary() {
    return appintents::ParameterSummary::always({{"Turn Quiet Mode ", ParameterReference{"quietMode"}}, {}});
}

std::vector<appintents::IntentPrediction> SetQuietMode::predictionConfiguration() const {
    return {{{"quietMode"}, [this] {
                 const auto chosen = quietMode.value();
                 return appintents::DisplayRepresentation{
                     "Turn Quiet Mode " + (chosen ? appintents::displayText(*chosen, quietMode.options().displayNames) : ""), ""};
             }}};
}

concurrency::Task<appintents::IntentResult> SetQuietMode::perform() {
    const std::string token = sessionToken();
    co_await serviceCall(Networking::setQuietMode(*quietMode, token));
    co_return appintents::IntentResult::result();
}

}  // namespace kestrova
