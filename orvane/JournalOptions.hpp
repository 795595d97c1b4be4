#pragma once

#include "kestrova/intents/IntentJournal.hpp"
#include "orvane/KestrovaJournal.hpp"
#include "platform/intents/ObjectCollection.hpp"

#include <memory>

namespace orvane {

// The option list and default of every journal parameter, read afresh from
// the shared defaults on each call.

// A journal as an option: its id in decimal as the identifier; its emoji, a
// blank and its title as the display string, or the title alone when it has
// no emoji; no pronunciation hint.
std::shared_ptr<kestrova::IntentJournal> intentJournal(const KestrovaJournal& journal);

// Two sections, always both: "Today" with the daily journals in stored
// order, "Not Today" with the others sorted by title, compared as Unicode
// scalars after canonical composition (so case-sensitive), equal titles in
// stored order.
std::shared_ptr<intents::ObjectCollection> journalOptions();

// The first daily journal, else the first journal, else none.
std::shared_ptr<kestrova::IntentJournal> defaultJournal();

}  // namespace orvane
