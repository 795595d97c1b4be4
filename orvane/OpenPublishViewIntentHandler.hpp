#pragma once

#include "kestrova/intents/OpenPublishViewIntentHandling.hpp"

namespace orvane {

// Confirms the request to open a journal's publish view: the application
// opens the page itself when it receives the intent.
class OpenPublishViewIntentHandler final : public kestrova::OpenPublishViewIntentHandling {
public:
    using OpenPublishViewIntentHandling::handle;
    using OpenPublishViewIntentHandling::provideJournalOptionsCollection;
    using OpenPublishViewIntentHandling::resolveJournal;

    void handle(std::shared_ptr<kestrova::OpenPublishViewIntent> intent,
                std::function<void(std::shared_ptr<kestrova::OpenPublishViewIntentResponse>)> completion) override;
    void resolveJournal(std::shared_ptr<kestrova::OpenPublishViewIntent> intent,
                        std::function<void(std::shared_ptr<kestrova::IntentJournalResolutionResult>)> completion) override;
    void provideJournalOptionsCollection(
        std::shared_ptr<kestrova::OpenPublishViewIntent> intent,
        std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)> completion) override;
};

}  // namespace orvane
