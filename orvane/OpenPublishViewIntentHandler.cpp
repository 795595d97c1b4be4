#include "orvane/OpenPublishViewIntentHandler.hpp"

#include "orvane/JournalOptions.hpp"

namespace orvane {

void OpenPublishViewIntentHandler::handle(
    std::shared_ptr<kestrova::OpenPublishViewIntent>,
    std::function<void(std::shared_ptr<kestrova::OpenPublishViewIntentResponse>)> completion) {
    completion(std::make_shared<kestrova::OpenPublishViewIntentResponse>(
        kestrova::OpenPublishViewIntentResponseCode::success, nullptr));
}

void OpenPublishViewIntentHandler::resolveJournal(
    std::shared_ptr<kestrova::OpenPublishViewIntent> intent,
    std::function<void(std::shared_ptr<kestrova::IntentJournalResolutionResult>)> completion) {
    const auto journal = intent->journal();
    completion(journal ? kestrova::IntentJournalResolutionResult::success(journal)
                       : kestrova::IntentJournalResolutionResult::needsValue());
}

void OpenPublishViewIntentHandler::provideJournalOptionsCollection(
    std::shared_ptr<kestrova::OpenPublishViewIntent>,
    std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)> completion) {
    completeWithJournalOptions(completion);
}

}  // namespace orvane
