#pragma once

#include "kestrova/intents/IntentJournal.hpp"
#include "orvane/KestrovaJournal.hpp"
#include "orvane/ExtensionStore.hpp"
#include "platform/kits/intents/ObjectCollection.hpp"

#include <exception>
#include <functional>
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
// stored order. Throws StoreError when the defaults cannot be read.
std::shared_ptr<intents::ObjectCollection> journalOptions(const ExtensionStore& store = ExtensionStore());

// What every provider of the options answers: journalOptions(), or no
// collection and the StoreError that says why there is none, which the
// platform shows in place of the options.
void completeWithJournalOptions(
    const std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)>& completion);

// The first daily journal, else the first journal, else none. Defaults that
// cannot be read give none, and the reason is printed on standard error:
// the platform asks for no error here.
std::shared_ptr<kestrova::IntentJournal> defaultJournal(const ExtensionStore& store = ExtensionStore());

}  // namespace orvane
