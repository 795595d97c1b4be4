#pragma once

#include "kestrova/intents/SetQuietModeIntent.hpp"
#include "kestrova/intents/SetQuietModeIntentResponse.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/kits/intents/BooleanResolutionResult.hpp"
#include "platform/kits/intents/HandlerObject.hpp"

#include <functional>
#include <memory>

namespace kestrova {

// The protocol of a handler that turns the user's quiet mode on or off. Each operation that has two forms
// can be implemented in either: the callback form, which the platform calls,
// runs the asynchronous form in a new task unless it is overridden itself.
class SetQuietModeIntentHandling : public intents::HandlerObject {
public:
    // Required: the platform calls this form.
    virtual void handle(std::shared_ptr<SetQuietModeIntent> intent,
                        std::function<void(std::shared_ptr<SetQuietModeIntentResponse>)> completion);
    // The asynchronous form.
    virtual concurrency::Task<std::shared_ptr<SetQuietModeIntentResponse>> handle(
        std::shared_ptr<SetQuietModeIntent> intent);

    // Required: the platform calls this form.
    virtual void resolveQuietMode(std::shared_ptr<SetQuietModeIntent> intent,
                                  std::function<void(std::shared_ptr<intents::BooleanResolutionResult>)> completion);
    virtual concurrency::Task<std::shared_ptr<intents::BooleanResolutionResult>> resolveQuietMode(
        std::shared_ptr<SetQuietModeIntent> intent);

    // Optional: without one, the intent is ready to be handled.
    virtual void confirm(std::shared_ptr<SetQuietModeIntent> intent,
                         std::function<void(std::shared_ptr<SetQuietModeIntentResponse>)> completion);
    virtual concurrency::Task<std::shared_ptr<SetQuietModeIntentResponse>> confirm(
        std::shared_ptr<SetQuietModeIntent> intent);

    // Routes the selectors of this protocol to the operations above.
    bool perform(std::string_view selector, const std::shared_ptr<intents::Intent>& intent, Reply reply) override;
};

}  // namespace kestrova
