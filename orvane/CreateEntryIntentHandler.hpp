#pragma once

#include "kestrova/intents/CreateEntryIntentHandling.hpp"
#include "platform/runtime/combine/AnyCancellable.hpp"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orvane {

// Publishes an entry without starting the application: checks the intent's
// parameters and the stored token, uploads the entry, answers, and after a
// published entry asks for the widgets to be reloaded.
class CreateEntryIntentHandler final : public kestrova::CreateEntryIntentHandling {
public:
    using CreateEntryIntentHandling::handle;
    using CreateEntryIntentHandling::provideJournalOptionsCollection;
    using CreateEntryIntentHandling::resolveIsPrivate;
    using CreateEntryIntentHandling::resolveJournal;
    using CreateEntryIntentHandling::resolveNotes;

    void handle(std::shared_ptr<kestrova::CreateEntryIntent> intent,
                std::function<void(std::shared_ptr<kestrova::CreateEntryIntentResponse>)> completion) override;
    void resolveNotes(std::shared_ptr<kestrova::CreateEntryIntent> intent,
                      std::function<void(std::shared_ptr<intents::StringResolutionResult>)> completion) override;
    void resolveJournal(std::shared_ptr<kestrova::CreateEntryIntent> intent,
                        std::function<void(std::shared_ptr<kestrova::IntentJournalResolutionResult>)> completion) override;
    void resolveIsPrivate(std::shared_ptr<kestrova::CreateEntryIntent> intent,
                          std::function<void(std::shared_ptr<intents::BooleanResolutionResult>)> completion) override;
    void provideJournalOptionsCollection(
        std::shared_ptr<kestrova::CreateEntryIntent> intent,
        std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)> completion) override;

    // The journal id an identifier stands for: a decimal 64-bit integer with
    // an optional sign and nothing else; 0 for anything else, empty included.
    static std::int64_t journalId(std::string_view identifier);

private:
    // The subscription to the upload's response lives as long as the handler.
    std::vector<combine::AnyCancellable> disposables_;
};

}  // namespace orvane
