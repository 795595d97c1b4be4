#include "kestrova/intents/CreateEntryIntentHandling.hpp"

#include "kestrova/intents/HandlingForms.hpp"
#include "kestrova/intents/HandlingReplies.hpp"
#include "platform/runtime/base/Verify.hpp"

namespace kestrova {

void CreateEntryIntentHandling::handle(std::shared_ptr<CreateEntryIntent> intent,
                                       std::function<void(std::shared_ptr<CreateEntryIntentResponse>)> completion) {
    handling::startTask<std::shared_ptr<CreateEntryIntentResponse>>([this, intent] { return handle(intent); },
                                                                    std::move(completion));
}

concurrency::Task<std::shared_ptr<CreateEntryIntentResponse>> CreateEntryIntentHandling::handle(
    std::shared_ptr<CreateEntryIntent>) {
    VERIFY_NOT_REACHED("a handler implements one of the two forms of handleCreateEntry:completion:");
}

void CreateEntryIntentHandling::resolveJournal(
    std::shared_ptr<CreateEntryIntent> intent,
    std::function<void(std::shared_ptr<IntentJournalResolutionResult>)> completion) {
    handling::startTask<std::shared_ptr<IntentJournalResolutionResult>>(
        [this, intent] { return resolveJournal(intent); }, std::move(completion));
}

concurrency::Task<std::shared_ptr<IntentJournalResolutionResult>> CreateEntryIntentHandling::resolveJournal(
    std::shared_ptr<CreateEntryIntent>) {
    VERIFY_NOT_REACHED("a handler implements one of the two forms of resolveJournalForCreateEntry:withCompletion:");
}

void CreateEntryIntentHandling::resolveNotes(
    std::shared_ptr<CreateEntryIntent> intent,
    std::function<void(std::shared_ptr<intents::StringResolutionResult>)> completion) {
    handling::startTask<std::shared_ptr<intents::StringResolutionResult>>(
        [this, intent] { return resolveNotes(intent); }, std::move(completion));
}

concurrency::Task<std::shared_ptr<intents::StringResolutionResult>> CreateEntryIntentHandling::resolveNotes(
    std::shared_ptr<CreateEntryIntent>) {
    VERIFY_NOT_REACHED("a handler implements one of the two forms of resolveNotesForCreateEntry:withCompletion:");
}

void CreateEntryIntentHandling::resolveIsPrivate(
    std::shared_ptr<CreateEntryIntent> intent,
    std::function<void(std::shared_ptr<intents::BooleanResolutionResult>)> completion) {
    handling::startTask<std::shared_ptr<intents::BooleanResolutionResult>>(
        [this, intent] { return resolveIsPrivate(intent); }, std::move(completion));
}

concurrency::Task<std::shared_ptr<intents::BooleanResolutionResult>> CreateEntryIntentHandling::resolveIsPrivate(
    std::shared_ptr<CreateEntryIntent>) {
    VERIFY_NOT_REACHED("a handler implements one of the two forms of resolveIsPrivateForCreateEntry:withCompletion:");
}

void CreateEntryIntentHandling::provideJournalOptionsCollection(
    std::shared_ptr<CreateEntryIntent> intent,
    std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)> completion) {
    handling::startThrowingTask<std::shared_ptr<intents::ObjectCollection>>(
        [this, intent] { return provideJournalOptionsCollection(intent); }, std::move(completion));
}

concurrency::Task<std::shared_ptr<intents::ObjectCollection>>
CreateEntryIntentHandling::provideJournalOptionsCollection(std::shared_ptr<CreateEntryIntent>) {
    VERIFY_NOT_REACHED(
        "a handler implements one of the two forms of provideJournalOptionsCollectionForCreateEntry:withCompletion:");
}

void CreateEntryIntentHandling::confirm(std::shared_ptr<CreateEntryIntent> intent,
                                        std::function<void(std::shared_ptr<CreateEntryIntentResponse>)> completion) {
    handling::startTask<std::shared_ptr<CreateEntryIntentResponse>>([this, intent] { return confirm(intent); },
                                                                    std::move(completion));
}

concurrency::Task<std::shared_ptr<CreateEntryIntentResponse>> CreateEntryIntentHandling::confirm(
    std::shared_ptr<CreateEntryIntent>) {
    co_return std::make_shared<CreateEntryIntentResponse>(CreateEntryIntentResponseCode::ready, nullptr);
}

std::shared_ptr<IntentJournal> CreateEntryIntentHandling::defaultJournal(std::shared_ptr<CreateEntryIntent>) {
    return nullptr;
}

void CreateEntryIntentHandling::provideJournalOptions(
    std::shared_ptr<CreateEntryIntent>,
    std::function<void(std::optional<std::vector<std::shared_ptr<IntentJournal>>>, std::exception_ptr)> completion) {
    completion(std::nullopt, nullptr);
}

bool CreateEntryIntentHandling::perform(std::string_view selector, const std::shared_ptr<intents::Intent>& intent,
                                        Reply reply) {
    using handling::answering;
    using handling::answeringCollection;
    using handling::answeringJournalOptions;
    return handling::route<CreateEntryIntent>(selector, intent, {
        {"handleCreateEntry:completion:",
         [&](const auto& typed) { handle(typed, answering<CreateEntryIntentResponse>(reply)); }},
        {"resolveJournalForCreateEntry:withCompletion:",
         [&](const auto& typed) { resolveJournal(typed, answering<IntentJournalResolutionResult>(reply)); }},
        {"resolveNotesForCreateEntry:withCompletion:",
         [&](const auto& typed) { resolveNotes(typed, answering<intents::StringResolutionResult>(reply)); }},
        {"resolveIsPrivateForCreateEntry:withCompletion:",
         [&](const auto& typed) { resolveIsPrivate(typed, answering<intents::BooleanResolutionResult>(reply)); }},
        {"provideJournalOptionsCollectionForCreateEntry:withCompletion:",
         [&](const auto& typed) { provideJournalOptionsCollection(typed, answeringCollection(reply)); }},
        {"confirmCreateEntry:completion:",
         [&](const auto& typed) { confirm(typed, answering<CreateEntryIntentResponse>(reply)); }},
        {"defaultJournalForCreateEntry:",
         [&](const auto& typed) { reply({defaultJournal(typed), std::nullopt}); }},
        {"provideJournalOptionsForCreateEntry:withCompletion:",
         [&](const auto& typed) { provideJournalOptions(typed, answeringJournalOptions(reply)); }},
    });
}

}  // namespace kestrova
