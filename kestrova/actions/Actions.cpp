#include "kestrova/actions/Actions.hpp"

#include "kestrova/actions/AddMetricDataToEntry.hpp"
#include "kestrova/actions/CreateEntry.hpp"
#include "kestrova/actions/IntentEntryAppEntity.hpp"
#include "kestrova/actions/IntentJournalAppEntity.hpp"
#include "kestrova/actions/IntentMetricAppEntity.hpp"
#include "kestrova/actions/OpenPublishView.hpp"
#include "kestrova/actions/SetQuietMode.hpp"

#include <memory>

namespace kestrova {

void registerActions(appintents::IntentCatalogue& catalogue) {
    catalogue.addIntent<CreateEntry>();
    catalogue.addIntent<AddMetricDataToEntry>();
    catalogue.addIntent<SetQuietMode>();
    catalogue.addIntent<OpenPublishView>();
    catalogue.addEntity<IntentJournalAppEntity>(std::make_shared<IntentJournalAppEntityQuery>());
    catalogue.addEntity<IntentMetricAppEntity>(std::make_shared<IntentMetricAppEntityQuery>());
    // Only ever handed from one step to the next: nothing looks an entry up.
    catalogue.addEntity<IntentEntryAppEntity>(nullptr);
}

}  // namespace kestrova
