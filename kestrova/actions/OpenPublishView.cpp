#include "kestrova/actions/OpenPublishView.hpp"

#include "kestrova/actions/CachedUser.hpp"
#include "kestrova/model/DecimalInteger.hpp"
#include "platform/kits/appkit/Workspace.hpp"

#include <algorithm>

namespace kestrova {

using appintents::ParameterReference;

const appintents::IntentMetadata& OpenPublishView::metadata() {
    static const appintents::IntentMetadata made{.title = "Open Publish View",
                                                 .intentClassName = "OpenPublishViewIntent",
                                                 .openAppWhenRun = true,
                                                 .isPredictable = true};
    return made;
}

appintents::ParameterSummary OpenPublishView::parameterSummary() {
    return appintents::ParameterSummary::when("journal", {{"Open the publish view for ", ParameterReference{"journal"}, "."}, {}},
                                              {{"Open the publish view."}, {}});
}

std::vector<appintents::IntentPrediction> OpenPublishView::predictionConfiguration() const {
    return {{{"journal"}, [this] {
                 const auto& chosen = journal.wrappedValue();
                 return appintents::DisplayRepresentation{
                     chosen ? "Open the publish view for " + chosen->displayString + "." : "Open the publish view.",
                     ""};
             }}};
}

concurrency::Task<appintents::IntentResult> OpenPublishView::perform() {
    const auto& chosen = journal.wrappedValue();
    if (!chosen) {
        co_return appintents::IntentResult::result();
    }
    // Read as an integer, so "+12" and "012" are journal 12; a text that is none matches nothing.
    const auto id = decimalInteger(chosen->id);
    const auto journals = cachedJournals();
    const auto found = std::ranges::find_if(journals, [&](const Journal& each) { return id && each.id == *id; });
    if (found != journals.end()) {
        if (const auto link = found->createEntryURL()) {
            // Whether a handler took the link changes nothing for the user.
            static_cast<void>(appkit::Workspace::shared().open(*link));
        }
    }
    co_return appintents::IntentResult::result();
}

}  // namespace kestrova
