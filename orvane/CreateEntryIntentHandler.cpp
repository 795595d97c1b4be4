#include "orvane/CreateEntryIntentHandler.hpp"

#include "kestrova/model/DecimalInteger.hpp"
#include "kestrova/networking/KestrovaAPIResponse.hpp"
#include "orvane/JournalOptions.hpp"
#include "orvane/Requests.hpp"
#include "orvane/ExtensionStore.hpp"
#include "orvane/StoreError.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/kits/widgetkit/WidgetCenter.hpp"

#include <cstdio>
#include <limits>

namespace orvane {
namespace {

using Response = kestrova::CreateEntryIntentResponse;
using Code = kestrova::CreateEntryIntentResponseCode;

std::shared_ptr<Response> answer(Code code) {
    return std::make_shared<Response>(code, nullptr);
}

// The reply's "message", when it carries one.
std::optional<std::string> messageOf(const foundation::Data& body) {
    try {
        return foundation::JSONDecoder().decode<kestrova::KestrovaAPIResponse>(body).message.str();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

std::int64_t CreateEntryIntentHandler::journalId(std::string_view identifier) {
    return kestrova::decimalInteger(identifier).value_or(0);
}

void CreateEntryIntentHandler::handle(std::shared_ptr<kestrova::CreateEntryIntent> intent,
                                      std::function<void(std::shared_ptr<Response>)> completion) {
    const auto notes = intent->notes();
    if (!notes) {
        completion(answer(Code::failure));
        return;
    }
    const auto journal = intent->journal();
    if (!journal || !journal->identifier()) {
        completion(answer(Code::failure));
        return;
    }
    const auto isPrivate = intent->isPrivate();
    if (!isPrivate) {
        completion(answer(Code::failure));
        return;
    }
    std::optional<std::string> token;
    try {
        token = ExtensionStore().token();
    } catch (const StoreError& error) {
        error.report("the entry cannot be sent");
        completion(answer(Code::failure));
        return;
    }
    if (!token) {
        completion(answer(Code::failure));
        return;
    }
    std::optional<UploadFile> file;
    if (const auto attached = intent->file()) {
        file = UploadFile{.name = attached->filename(),
                          .data = attached->fileURL() ? foundation::Data() : attached->data(),
                          .mimeType = attached->typeIdentifier().value_or(""),
                          .fileURL = attached->fileURL()};
    }
    if (notes->empty() && !file) {
        completion(answer(Code::failure));
        return;
    }
    const auto request = createEntry(*token, *notes, journalId(*journal->identifier()), file, isPrivate->boolValue());
    request->publishData(concurrency::MainActor::shared())
        .sink([completion = std::move(completion)](const httpclient::DataResponse& response) {
            if (response.error) {
                std::printf("%s\n", response.error->what());
                std::fflush(stdout);
                completion(answer(Code::failure));
                return;
            }
            const int status = response.statusCode.value_or(0);
            if (status < 200 || status > 299) {
                // A refused entry is not published: saying so is the least the
                // user is owed, and the widgets have nothing new to show.
                const auto message = messageOf(response.data);
                std::printf("The entry was not published: the server answered with status %d%s%s\n", status,
                            message ? ": " : "", message ? message->c_str() : "");
                std::fflush(stdout);
                completion(answer(Code::failure));
                return;
            }
            completion(answer(Code::success));
            widgetkit::WidgetCenter::shared().reloadAllTimelines();
        })
        .store(disposables_);
}

void CreateEntryIntentHandler::resolveNotes(
    std::shared_ptr<kestrova::CreateEntryIntent> intent,
    std::function<void(std::shared_ptr<intents::StringResolutionResult>)> completion) {
    const auto notes = intent->notes();
    if (!notes || (notes->empty() && !intent->file())) {
        completion(intents::StringResolutionResult::needsValue());
        return;
    }
    completion(intents::StringResolutionResult::success(*notes));
}

void CreateEntryIntentHandler::resolveJournal(
    std::shared_ptr<kestrova::CreateEntryIntent> intent,
    std::function<void(std::shared_ptr<kestrova::IntentJournalResolutionResult>)> completion) {
    const auto journal = intent->journal();
    completion(journal ? kestrova::IntentJournalResolutionResult::success(journal)
                       : kestrova::IntentJournalResolutionResult::needsValue());
}

void CreateEntryIntentHandler::resolveIsPrivate(
    std::shared_ptr<kestrova::CreateEntryIntent> intent,
    std::function<void(std::shared_ptr<intents::BooleanResolutionResult>)> completion) {
    const auto isPrivate = intent->isPrivate();
    completion(isPrivate ? intents::BooleanResolutionResult::success(isPrivate->boolValue())
                         : intents::BooleanResolutionResult::needsValue());
}

void CreateEntryIntentHandler::provideJournalOptionsCollection(
    std::shared_ptr<kestrova::CreateEntryIntent>,
    std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)> completion) {
    completeWithJournalOptions(completion);
}

}  // namespace orvane
