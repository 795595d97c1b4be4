#include "kestrova/intents/OpenPublishViewIntentHandling.hpp"

#include "kestrova/intents/HandlingForms.hpp"
#include "platform/base/Verify.hpp"
#include "platform/intents/ObjectSection.hpp"

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
    const auto typed = std::dynamic_pointer_cast<OpenPublishViewIntent>(intent);
    if (!typed) {
        return false;
    }
    if (selector == "handleOpenPublishView:completion:") {
        handle(typed, [reply](std::shared_ptr<OpenPublishViewIntentResponse> response) {
            reply({std::move(response), std::nullopt});
        });
        return true;
    }
    if (selector == "resolveJournalForOpenPublishView:withCompletion:") {
        resolveJournal(typed, [reply](std::shared_ptr<IntentJournalResolutionResult> result) {
            reply({std::move(result), std::nullopt});
        });
        return true;
    }
    if (selector == "provideJournalOptionsCollectionForOpenPublishView:withCompletion:") {
        provideJournalOptionsCollection(
            typed, [reply](std::shared_ptr<intents::ObjectCollection> collection, std::exception_ptr error) {
                reply({std::move(collection),
                       error ? std::optional<std::string>(handling::describe(error)) : std::nullopt});
            });
        return true;
    }
    if (selector == "confirmOpenPublishView:completion:") {
        confirm(typed, [reply](std::shared_ptr<OpenPublishViewIntentResponse> response) {
            reply({std::move(response), std::nullopt});
        });
        return true;
    }
    if (selector == "defaultJournalForOpenPublishView:") {
        reply({defaultJournal(typed), std::nullopt});
        return true;
    }
    if (selector == "provideJournalOptionsForOpenPublishView:withCompletion:") {
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
