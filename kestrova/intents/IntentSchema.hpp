#pragma once

namespace kestrova {

// Makes the schema's classes known to this process's archives: the four
// intents, their responses, IntentJournal and its resolution result, under
// their bare names. Each deliverable calls it once at start-up, before it
// decodes an intent; calling it again does no harm.
void registerIntentSchema();

}  // namespace kestrova
