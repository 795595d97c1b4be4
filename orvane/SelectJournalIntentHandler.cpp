#include "orvane/SelectJournalIntentHandler.hpp"

#include "orvane/JournalOptions.hpp"

namespace orvane {

void SelectJournalIntentHandler::provideJournalOptionsCollection(
    std::shared_ptr<kestrova::SelectJournalIntent>,
    std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)> completion) {
    completeWithJournalOptions(completion);
}

std::shared_ptr<kestrova::IntentJournal> SelectJournalIntentHandler::defaultJournal(
    std::shared_ptr<kestrova::SelectJournalIntent>) {
    return orvane::defaultJournal();
}

}  // namespace orvane
