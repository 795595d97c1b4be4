#pragma once

#include "kestrova/intents/CreateEntryIntent.hpp"
#include "kestrova/intents/CreateEntryIntentResponse.hpp"
#include "kestrova/intents/IntentJournalResolutionResult.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/kits/intents/BooleanResolutionResult.hpp"
#include "platform/kits/intents/HandlerObject.hpp"
#include "platform/kits/intents/ObjectCollection.hpp"
#include "platform/kits/intents/StringResolutionResult.hpp"

#include <functional>
#include <memory>
#include <exception>
#include <optional>
#include <vector>

namespace kestrova {

// The protocol of a handler that publishes an entry. Each operation that has two forms
// can be implemented in either: the callback form, which the platform calls,
// runs the asynchronous form in a new task unless it is overridden itself.
class CreateEntryIntentHandling : public intents::HandlerObject {
public:
    // Required: the platform calls this form.
    virtual void handle(std::shared_ptr<CreateEntryIntent> intent,
                        std::function<void(std::shared_ptr<CreateEntryIntentResponse>)> completion);
    // The asynchronous form.
    virtual concurrency::Task<std::shared_ptr<CreateEntryIntentResponse>> handle(
        std::shared_ptr<CreateEntryIntent> intent);

    // Required: the platform calls this form.
    virtual void resolveJournal(std::shared_ptr<CreateEntryIntent> intent,
                                std::function<void(std::shared_ptr<IntentJournalResolutionResult>)> completion);
    virtual concurrency::Task<std::shared_ptr<IntentJournalResolutionResult>> resolveJournal(
        std::shared_ptr<CreateEntryIntent> intent);

    // Required: the platform calls this form.
    virtual void resolveNotes(std::shared_ptr<CreateEntryIntent> intent,
                              std::function<void(std::shared_ptr<intents::StringResolutionResult>)> completion);
    virtual concurrency::Task<std::shared_ptr<intents::StringResolutionResult>> resolveNotes(
        std::shared_ptr<CreateEntryIntent> intent);

    // Required: the platform calls this form.
    virtual void resolveIsPrivate(std::shared_ptr<CreateEntryIntent> intent,
                                  std::function<void(std::shared_ptr<intents::BooleanResolutionResult>)> completion);
    virtual concurrency::Task<std::shared_ptr<intents::BooleanResolutionResult>> resolveIsPrivate(
        std::shared_ptr<CreateEntryIntent> intent);

    // Required: the options of the journal parameter, in sections, or an error.
    virtual void provideJournalOptionsCollection(
        std::shared_ptr<CreateEntryIntent> intent,
        std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)> completion);
    // The asynchronous form throws the error.
    virtual concurrency::Task<std::shared_ptr<intents::ObjectCollection>> provideJournalOptionsCollection(
        std::shared_ptr<CreateEntryIntent> intent);

    // Optional: without one, the intent is ready to be handled.
    virtual void confirm(std::shared_ptr<CreateEntryIntent> intent,
                         std::function<void(std::shared_ptr<CreateEntryIntentResponse>)> completion);
    virtual concurrency::Task<std::shared_ptr<CreateEntryIntentResponse>> confirm(
        std::shared_ptr<CreateEntryIntent> intent);

    // Optional, answered directly: the value a missing journal parameter takes, or none.
    virtual std::shared_ptr<IntentJournal> defaultJournal(std::shared_ptr<CreateEntryIntent> intent);

    // Optional, callback only: the options as one flat list, or none.
    virtual void provideJournalOptions(
        std::shared_ptr<CreateEntryIntent> intent,
        std::function<void(std::optional<std::vector<std::shared_ptr<IntentJournal>>>, std::exception_ptr)> completion);

    // Routes the selectors of this protocol to the operations above.
    bool perform(std::string_view selector, const std::shared_ptr<intents::Intent>& intent, Reply reply) override;
};

}  // namespace kestrova
