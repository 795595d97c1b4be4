#pragma once

#include "kestrova/intents/SelectJournalIntentHandling.hpp"

namespace orvane {

// Supplies the "Journal" widget's configuration with the journal options and
// a default journal.
class SelectJournalIntentHandler final : public kestrova::SelectJournalIntentHandling {
public:
    using SelectJournalIntentHandling::provideJournalOptionsCollection;

    void provideJournalOptionsCollection(
        std::shared_ptr<kestrova::SelectJournalIntent> intent,
        std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)> completion) override;
    std::shared_ptr<kestrova::IntentJournal> defaultJournal(std::shared_ptr<kestrova::SelectJournalIntent> intent) override;
};

}  // namespace orvane
