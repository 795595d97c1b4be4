#pragma once

#include "kestrova/actions/IntentJournalAppEntity.hpp"
#include "platform/kits/appintents/AppIntent.hpp"
#include "platform/kits/appintents/IntentParameter.hpp"

#include <string_view>
#include <vector>

namespace kestrova {

// "Open Publish View": brings the application forward and, for a journal the cached user has, opens
// that journal's create-entry link, which the application's link handling turns into its publish
// page. Calls no server and never fails. Succeeds the custom intent OpenPublishViewIntent.
class OpenPublishView final : public appintents::AppIntent {
public:
    static constexpr std::string_view typeName = "OpenPublishView";
    static const appintents::IntentMetadata& metadata();
    static appintents::ParameterSummary parameterSummary();

    // On the main thread.
    concurrency::Task<appintents::IntentResult> perform() override;
    [[nodiscard]] std::vector<appintents::IntentPrediction> predictionConfiguration() const override;

    appintents::IntentParameter<IntentJournalAppEntity, true> journal{*this, "journal", {.title = "Journal"}};
};

}  // namespace kestrova
