#pragma once

#include "platform/kits/appintents/AppIntent.hpp"
#include "platform/kits/appintents/IntentParameter.hpp"

#include <string_view>
#include <vector>

namespace kestrova {

// "Set Quiet Mode": turns the user's quiet mode on the service on or off. Succeeds the custom intent
// SetQuietModeIntent.
class SetQuietMode final : public appintents::AppIntent {
public:
    static constexpr std::string_view typeName = "SetQuietMode";
    static const appintents::IntentMetadata& metadata();
    static appintents::ParameterSummary parameterSummary();

    // Throws IntentError. The cached user stays as it is until the application next fetches it.
    concurrency::Task<appintents::IntentResult> perform() override;
    [[nodiscard]] std::vector<appintents::IntentPrediction> predictionConfiguration() const override;

    appintents::IntentParameter<bool> quietMode{*this, "quietMode",
                                                {.title = "Quiet Mode",
                                                 .requestDialog = "Do you want to set Quiet Mode on or off?",
                                                 .displayNames = std::pair<std::string, std::string>{"On", "Off"}},
                                                true};
};

}  // namespace kestrova
