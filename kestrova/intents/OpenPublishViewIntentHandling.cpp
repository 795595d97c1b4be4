#include "kestrova/intents/OpenPublishViewIntentHandling.hpp"

#include "kestrova/intents/HandlingForms.hpp"
#include "kestrova/intents/HandlingReplies.hpp"
#include "platform/runtime/base/Verify.hpp"

namespace kestrova {

void OpenPublishViewIntentHandling::handle(
    std::shared_ptr<OpenPublishViewIntent> intent,
    std::function<void(std::shared_ptr<OpenPublishViewIntentResponse>)> completion) {
    handling::startTask<std::shared_ptr<OpenPublishViewIntentResponse>>([this, intent] { return handle(intent); },
                                                                        std::move(completion));
}

concurrency::Task<std::shared_ptr<OpenPublishViewIntentResponse>> OpenPublishViewIntentHandling::handle(
    std::shared_ptr<OpenPublishViewIntent>) {
    VERIFY_NOT_REACHED("a handler implements one of the two forms of handleOpenPublishView:completion:");
}

void OpenPublishViewIntentHandling::resolveJournal(
    std::shared_ptr<OpenPublishViewIntent> intent,
    std::function<void(std::shared_ptr<IntentJournalResolutionResult>)> completion) {
    handling::startTask<std::shared_ptr<IntentJournalResolutionResult>>(
        [this, intent] { return resolveJournal(intent); }, std::move(completion));
}

concurrency::Task<std::shared_ptr<IntentJournalResolutionResult>> OpenPublishViewIntentHandling::resolveJournal(
    std::shared_ptr<OpenPublishViewIntent>) {
    VERIFY_NOT_REACHED("a handler implements one of the two forms of resolveJournalForOpenPublishView:withCompletion:");
}

void OpenPublishViewIntentHandling::provideJournalOptionsCollection(
    std::shared_ptr<OpenPublishViewIntent> intent,
    std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)> completion) {
    handling::startThrowingTask<std::shared_ptr<intents::ObjectCollection>>(
        [this, intent] { return provideJournalOptionsCollection(intent); }, std::move(completion));
}

concurrency::Task<std::shared_ptr<intents::ObjectCollection>>
OpenPublishViewIntentHandling::provideJournalOptionsCollection(std::shared_ptr<OpenPublishViewIntent>) {
    VERIFY_NOT_REACHED(
        "a handler implements one of the two forms of "
        "provideJournalOptionsCollectionForOpenPublishView:withCompletion:");
}

void OpenPublishViewIntentHandling::confirm(
    std::shared_ptr<OpenPublishViewIntent> intent,
    std::function<void(std::shared_ptr<OpenPublishViewIntentResponse>)> completion) {
    handling::startTask<std::shared_ptr<OpenPublishViewIntentResponse>>([this, intent] { return confirm(intent); },
                                                                        std::move(completion));
}

concurrency::Task<std::shared_ptr<OpenPublishViewIntentResponse>> OpenPublishViewIntentHandling::confirm(
    std::shared_ptr<OpenPublishViewIntent>) {
    co_return std::make_shared<OpenPublishViewIntentResponse>(OpenPublishViewIntentResponseCode::ready, nullptr);
}

std::shared_ptr<IntentJournal> OpenPublishViewIntentHandling::defaultJournal(std::shared_ptr<OpenPublishViewIntent>) {
    return nullptr;
}

void OpenPublishViewIntentHandling::provideJournalOptions(
    std::shared_ptr<OpenPublishViewIntent>,
    std::function<void(std::optional<std::vector<std::shared_ptr<IntentJournal>>>, std::exception_ptr)> completion) {
    completion(std::nullopt, nullptr);
}

bool OpenPublishViewIntentHandling::perform(std::string_view selector, const std::shared_ptr<intents::Intent>& intent,
                                            Reply reply) {
    using handling::answering;
    using handling::answeringCollection;
    using handling::answeringJournalOptions;
    return handling::route<OpenPublishViewIntent>(selector, intent, {
        {"handleOpenPublishView:completion:",
         [&](const auto& typed) { handle(typed, answering<OpenPublishViewIntentResponse>(reply)); }},
        {"resolveJournalForOpenPublishView:withCompletion:",
         [&](const auto& typed) { resolveJournal(typed, answering<IntentJournalResolutionResult>(reply)); }},
        {"provideJournalOptionsCollectionForOpenPublishView:withCompletion:",
         [&](const auto& typed) { provideJournalOptionsCollection(typed, answeringCollection(reply)); }},
        {"confirmOpenPublishView:completion:",
         [&](const auto& typed) { confirm(typed, answering<OpenPublishViewIntentResponse>(reply)); }},
        {"defaultJournalForOpenPublishView:",
         [&](const auto& typed) { reply({defaultJournal(typed), std::nullopt}); }},
        {"provideJournalOptionsForOpenPublishView:withCompletion:",
         [&](const auto& typed) { provideJournalOptions(typed, answeringJournalOptions(reply)); }},
    });
}

}  // namespace kestrova
