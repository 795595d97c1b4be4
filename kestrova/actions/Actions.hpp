#pragma once

#include "platform/kits/appintents/IntentCatalogue.hpp"

namespace kestrova {

// Offers the application's actions ("Create Entry", "Add Metric Data to Entry", "Set Quiet Mode",
// "Open Publish View") and the journal, metric and entry entities they take and give.
void registerActions(appintents::IntentCatalogue& catalogue);

}  // namespace kestrova
