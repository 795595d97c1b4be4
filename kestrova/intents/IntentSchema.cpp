#include "kestrova/intents/IntentSchema.hpp"

#include "kestrova/intents/CreateEntryIntent.hpp"
#include "kestrova/intents/CreateEntryIntentResponse.hpp"
#include "kestrova/intents/IntentJournal.hpp"
#include "kestrova/intents/IntentJournalResolutionResult.hpp"
#include "kestrova/intents/OpenPublishViewIntent.hpp"
#include "kestrova/intents/OpenPublishViewIntentResponse.hpp"
#include "kestrova/intents/SelectJournalIntent.hpp"
#include "kestrova/intents/SelectJournalIntentResponse.hpp"
#include "kestrova/intents/SetQuietModeIntent.hpp"
#include "kestrova/intents/SetQuietModeIntentResponse.hpp"
#include "platform/kits/intents/ClassRegistry.hpp"

namespace kestrova {

void registerIntentSchema() {
    auto& registry = intents::ClassRegistry::shared();
    registry.add<CreateEntryIntent>("CreateEntryIntent");
    registry.add<OpenPublishViewIntent>("OpenPublishViewIntent");
    registry.add<SelectJournalIntent>("SelectJournalIntent");
    registry.add<SetQuietModeIntent>("SetQuietModeIntent");
    registry.add<CreateEntryIntentResponse>("CreateEntryIntentResponse");
    registry.add<OpenPublishViewIntentResponse>("OpenPublishViewIntentResponse");
    registry.add<SelectJournalIntentResponse>("SelectJournalIntentResponse");
    registry.add<SetQuietModeIntentResponse>("SetQuietModeIntentResponse");
    registry.add<IntentJournal>("IntentJournal");
    registry.add<IntentJournalResolutionResult>("IntentJournalResolutionResult");
}

}  // namespace kestrova
