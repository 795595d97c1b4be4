#include "kestrova/intents/SelectJournalIntentHandling.hpp"

#include "kestrova/intents/HandlingForms.hpp"
#include "platform/base/Verify.hpp"
#include "platform/intents/ObjectSection.hpp"

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
    const auto typed = std::dynamic_pointer_cast<SelectJournalIntent>(intent);
    if (!typed) {
        return false;
    }
    if (selector == "provideJournalOptionsCollectionForSelectJournal:withCompletion:") {
        provideJournalOptionsCollection(
            typed, [reply](std::shared_ptr<intents::ObjectCollection> collection, std::exception_ptr error) {
                reply({std::move(collection),
                       error ? std::optional<std::string>(handling::describe(error)) : std::nullopt});
            });
        return true;
    }
    if (selector == "confirmSelectJournal:completion:") {
        confirm(typed, [reply](std::shared_ptr<SelectJournalIntentResponse> response) {
            reply({std::move(response), std::nullopt});
        });
        return true;
    }
    if (selector == "handleSelectJournal:completion:") {
        handle(typed, [reply](std::shared_ptr<SelectJournalIntentResponse> response) {
            reply({std::move(response), std::nullopt});
        });
        return true;
    }
    if (selector == "defaultJournalForSelectJournal:") {
        reply({defaultJournal(typed), std::nullopt});
        return true;
    }
    if (selector == "provideJournalOptionsForSelectJournal:withCompletion:") {
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
