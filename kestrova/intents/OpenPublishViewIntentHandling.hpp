#pragma once

#include "kestrova/intents/IntentJournalResolutionResult.hpp"
#include "kestrova/intents/OpenPublishViewIntent.hpp"
#include "kestrova/intents/OpenPublishViewIntentResponse.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/kits/intents/HandlerObject.hpp"
#include "platform/kits/intents/ObjectCollection.hpp"

#include <functional>
#include <memory>
#include <exception>
#include <optional>
#include <vector>

namespace kestrova {

// The protocol of a handler that answers the request to open a journal's publish view. Each operation that has two
// forms can be implemented in either: the callback form, which the platform calls, runs the asynchronous form in a new
// task unless it is overridden itself.
class OpenPublishViewIntentHandling : public intents::HandlerObject {
public:
    // Required: the platform calls this form.
    virtual void handle(std::shared_ptr<OpenPublishViewIntent> intent,
                        std::function<void(std::shared_ptr<OpenPublishViewIntentResponse>)> completion);
    // The asynchronous form.
    virtual concurrency::Task<std::shared_ptr<OpenPublishViewIntentResponse>> handle(
        std::shared_ptr<OpenPublishViewIntent> intent);

    // Required: the platform calls this form.
    virtual void resolveJournal(std::shared_ptr<OpenPublishViewIntent> intent,
                                std::function<void(std::shared_ptr<IntentJournalResolutionResult>)> completion);
    virtual concurrency::Task<std::shared_ptr<IntentJournalResolutionResult>> resolveJournal(
        std::shared_ptr<OpenPublishViewIntent> intent);

    // Required: the options of the journal parameter, in sections, or an error.
    virtual void provideJournalOptionsCollection(
        std::shared_ptr<OpenPublishViewIntent> intent,
        std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)> completion);
    // The asynchronous form throws the error.
    virtual concurrency::Task<std::shared_ptr<intents::ObjectCollection>> provideJournalOptionsCollection(
        std::shared_ptr<OpenPublishViewIntent> intent);

    // Optional: without one, the intent is ready to be handled.
    virtual void confirm(std::shared_ptr<OpenPublishViewIntent> intent,
                         std::function<void(std::shared_ptr<OpenPublishViewIntentResponse>)> completion);
    virtual concurrency::Task<std::shared_ptr<OpenPublishViewIntentResponse>> confirm(
        std::shared_ptr<OpenPublishViewIntent> intent);

    // Optional, answered directly: the value a missing journal parameter takes, or none.
    virtual std::shared_ptr<IntentJournal> defaultJournal(std::shared_ptr<OpenPublishViewIntent> intent);

    // Optional, callback only: the options as one flat list, or none.
    virtual void provideJournalOptions(
        std::shared_ptr<OpenPublishViewIntent> intent,
        std::function<void(std::optional<std::vector<std::shared_ptr<IntentJournal>>>, std::exception_ptr)> completion);

    // Routes the selectors of this protocol to the operations above.
    bool perform(std::string_view selector, const std::shared_ptr<intents::Intent>& intent, Reply reply) override;
};

}  // namespace kestrova
