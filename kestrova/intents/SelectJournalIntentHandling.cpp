#include "kestrova/intents/SelectJournalIntentHandling.hpp"

#include "kestrova/intents/HandlingForms.hpp"
#include "kestrova/intents/HandlingReplies.hpp"
#include "platform/runtime/base/Verify.hpp"

namespace kestrova {

void SelectJournalIntentHandling::provideJournalOptionsCollection(
    std::shared_ptr<SelectJournalIntent> intent,
    std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)> completion) {
    handling::startThrowingTask<std::shared_ptr<intents::ObjectCollection>>(
        [this, intent] { return provideJournalOptionsCollection(intent); }, std::move(completion));
}

concurrency::Task<std::shared_ptr<intents::ObjectCollection>>
SelectJournalIntentHandling::provideJournalOptionsCollection(std::shared_ptr<SelectJournalIntent>) {
    VERIFY_NOT_REACHED(
        "a handler implements one of the two forms of provideJournalOptionsCollectionForSelectJournal:withCompletion:");
}

void SelectJournalIntentHandling::confirm(
    std::shared_ptr<SelectJournalIntent> intent,
    std::function<void(std::shared_ptr<SelectJournalIntentResponse>)> completion) {
    handling::startTask<std::shared_ptr<SelectJournalIntentResponse>>([this, intent] { return confirm(intent); },
                                                                      std::move(completion));
}

concurrency::Task<std::shared_ptr<SelectJournalIntentResponse>> SelectJournalIntentHandling::confirm(
    std::shared_ptr<SelectJournalIntent>) {
    co_return std::make_shared<SelectJournalIntentResponse>(SelectJournalIntentResponseCode::ready, nullptr);
}

void SelectJournalIntentHandling::handle(std::shared_ptr<SelectJournalIntent> intent,
                                         std::function<void(std::shared_ptr<SelectJournalIntentResponse>)> completion) {
    handling::startTask<std::shared_ptr<SelectJournalIntentResponse>>([this, intent] { return handle(intent); },
                                                                      std::move(completion));
}

concurrency::Task<std::shared_ptr<SelectJournalIntentResponse>> SelectJournalIntentHandling::handle(
    std::shared_ptr<SelectJournalIntent>) {
    // Without a handling of its own the intent succeeds: it only carries a configuration.
    co_return std::make_shared<SelectJournalIntentResponse>(SelectJournalIntentResponseCode::success, nullptr);
}

std::shared_ptr<IntentJournal> SelectJournalIntentHandling::defaultJournal(std::shared_ptr<SelectJournalIntent>) {
    return nullptr;
}

void SelectJournalIntentHandling::provideJournalOptions(
    std::shared_ptr<SelectJournalIntent>,
    std::function<void(std::optional<std::vector<std::shared_ptr<IntentJournal>>>, std::exception_ptr)> completion) {
    completion(std::nullopt, nullptr);
}

bool SelectJournalIntentHandling::perform(std::string_view selector, const std::shared_ptr<intents::Intent>& intent,
                                          Reply reply) {
    using handling::answering;
    using handling::answeringCollection;
    using handling::answeringJournalOptions;
    return handling::route<SelectJournalIntent>(selector, intent, {
        {"provideJournalOptionsCollectionForSelectJournal:withCompletion:",
         [&](const auto& typed) { provideJournalOptionsCollection(typed, answeringCollection(reply)); }},
        {"confirmSelectJournal:completion:",
         [&](const auto& typed) { confirm(typed, answering<SelectJournalIntentResponse>(reply)); }},
        {"handleSelectJournal:completion:",
         [&](const auto& typed) { handle(typed, answering<SelectJournalIntentResponse>(reply)); }},
        {"defaultJournalForSelectJournal:",
         [&](const auto& typed) { reply({defaultJournal(typed), std::nullopt}); }},
        {"provideJournalOptionsForSelectJournal:withCompletion:",
         [&](const auto& typed) { provideJournalOptions(typed, answeringJournalOptions(reply)); }},
    });
}

}  // namespace kestrova
