#include "kestrova/intents/SetQuietModeIntentHandling.hpp"

#include "kestrova/intents/HandlingForms.hpp"
#include "kestrova/intents/HandlingReplies.hpp"
#include "platform/runtime/base/Verify.hpp"

namespace kestrova {

void SetQuietModeIntentHandling::handle(std::shared_ptr<SetQuietModeIntent> intent,
                                        std::function<void(std::shared_ptr<SetQuietModeIntentResponse>)> completion) {
    handling::startTask<std::shared_ptr<SetQuietModeIntentResponse>>([this, intent] { return handle(intent); },
                                                                     std::move(completion));
}

concurrency::Task<std::shared_ptr<SetQuietModeIntentResponse>> SetQuietModeIntentHandling::handle(
    std::shared_ptr<SetQuietModeIntent>) {
    VERIFY_NOT_REACHED("a handler implements one of the two forms of handleSetQuietMode:completion:");
}

void SetQuietModeIntentHandling::resolveQuietMode(
    std::shared_ptr<SetQuietModeIntent> intent,
    std::function<void(std::shared_ptr<intents::BooleanResolutionResult>)> completion) {
    handling::startTask<std::shared_ptr<intents::BooleanResolutionResult>>(
        [this, intent] { return resolveQuietMode(intent); }, std::move(completion));
}

concurrency::Task<std::shared_ptr<intents::BooleanResolutionResult>> SetQuietModeIntentHandling::resolveQuietMode(
    std::shared_ptr<SetQuietModeIntent>) {
    VERIFY_NOT_REACHED("a handler implements one of the two forms of resolveQuietModeForSetQuietMode:withCompletion:");
}

void SetQuietModeIntentHandling::confirm(std::shared_ptr<SetQuietModeIntent> intent,
                                         std::function<void(std::shared_ptr<SetQuietModeIntentResponse>)> completion) {
    handling::startTask<std::shared_ptr<SetQuietModeIntentResponse>>([this, intent] { return confirm(intent); },
                                                                     std::move(completion));
}

concurrency::Task<std::shared_ptr<SetQuietModeIntentResponse>> SetQuietModeIntentHandling::confirm(
    std::shared_ptr<SetQuietModeIntent>) {
    co_return std::make_shared<SetQuietModeIntentResponse>(SetQuietModeIntentResponseCode::ready, nullptr);
}

bool SetQuietModeIntentHandling::perform(std::string_view selector, const std::shared_ptr<intents::Intent>& intent,
                                         Reply reply) {
    using handling::answering;
    return handling::route<SetQuietModeIntent>(selector, intent, {
        {"handleSetQuietMode:completion:",
         [&](const auto& typed) { handle(typed, answering<SetQuietModeIntentResponse>(reply)); }},
        {"resolveQuietModeForSetQuietMode:withCompletion:",
         [&](const auto& typed) { resolveQuietMode(typed, answering<intents::BooleanResolutionResult>(reply)); }},
        {"confirmSetQuietMode:completion:",
         [&](const auto& typed) { confirm(typed, answering<SetQuietModeIntentResponse>(reply)); }},
    });
}

}  // namespace kestrova
