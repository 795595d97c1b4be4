#include "kestrova/intents/CreateEntryIntentHandling.hpp"

#include "kestrova/intents/HandlingForms.hpp"
#include "platform/base/Verify.hpp"
#include "platform/intents/ObjectSection.hpp"

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
    const auto typed = std::dynamic_pointer_cast<CreateEntryIntent>(intent);
    if (!typed) {
        return false;
    }
    if (selector == "handleCreateEntry:completion:") {
        handle(typed, [reply](std::shared_ptr<CreateEntryIntentResponse> response) {
            reply({std::move(response), std::nullopt});
        });
        return true;
    }
    if (selector == "resolveJournalForCreateEntry:withCompletion:") {
        resolveJournal(typed, [reply](std::shared_ptr<IntentJournalResolutionResult> result) {
            reply({std::move(result), std::nullopt});
        });
        return true;
    }
    if (selector == "resolveNotesForCreateEntry:withCompletion:") {
        resolveNotes(typed, [reply](std::shared_ptr<intents::StringResolutionResult> result) {
            reply({std::move(result), std::nullopt});
        });
        return true;
    }
    if (selector == "resolveIsPrivateForCreateEntry:withCompletion:") {
        resolveIsPrivate(typed, [reply](std::shared_ptr<intents::BooleanResolutionResult> result) {
            reply({std::move(result), std::nullopt});
        });
        return true;
    }
    if (selector == "provideJournalOptionsCollectionForCreateEntry:withCompletion:") {
        provideJournalOptionsCollection(
            typed, [reply](std::shared_ptr<intents::ObjectCollection> collection, std::exception_ptr error) {
                reply({std::move(collection),
                       error ? std::optional<std::string>(handling::describe(error)) : std::nullopt});
            });
        return true;
    }
    if (selector == "confirmCreateEntry:completion:") {
        confirm(typed, [reply](std::shared_ptr<CreateEntryIntentResponse> response) {
            reply({std::move(response), std::nullopt});
        });
        return true;
    }
    if (selector == "defaultJournalForCreateEntry:") {
        reply({defaultJournal(typed), std::nullopt});
        return true;
    }
    if (selector == "provideJournalOptionsForCreateEntry:withCompletion:") {
        provideJournalOptions(typed, [reply](std::optional<std::vector<std::shared_ptr<IntentJournal>>> options,
                                             std::exception_ptr error) {
            std::shared_ptr<intents::ObjectCollection> collection;
            if (options) {
                std::vector<std::shared_ptr<intents::Object>> items(options->begin(), options->end());
                collection = std::make_shared<intents::ObjectCollection>(
                    std::vector{std::make_shared<intents::ObjectSection>(std::nullopt, std::move(items))});
            }
            reply(
                {std::move(collection), error ? std::optional<std::string>(handling::describe(error)) : std::nullopt});
        });
        return true;
    }
    return false;
}

}  // namespace kestrova
