#include "orvane/SetQuietModeIntentHandler.hpp"

#include "orvane/Requests.hpp"
#include "orvane/StoreError.hpp"

namespace orvane {
namespace {

using Response = kestrova::SetQuietModeIntentResponse;
using Code = kestrova::SetQuietModeIntentResponseCode;

}  // namespace

concurrency::Task<std::shared_ptr<Response>> SetQuietModeIntentHandler::handle(
    std::shared_ptr<kestrova::SetQuietModeIntent> intent) {
    std::optional<std::string> token;
    try {
        token = store_.token();
    } catch (const StoreError& error) {
        error.report("quiet mode cannot be set");
        co_return std::make_shared<Response>(Code::failure, nullptr);
    }
    if (!token) {
        co_return std::make_shared<Response>(Code::failure, nullptr);
    }
    const auto quietMode = intent->quietMode();
    if (!quietMode) {
        co_return std::make_shared<Response>(Code::failure, nullptr);
    }
    bool updated = false;
    try {
        co_await updateUser(*token, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                            std::nullopt, std::nullopt, quietMode->boolValue());
        updated = true;
    } catch (...) {
        // Neither printed nor examined: the answer says it failed.
    }
    co_return std::make_shared<Response>(updated ? Code::success : Code::failure, nullptr);
}

concurrency::Task<std::shared_ptr<intents::BooleanResolutionResult>> SetQuietModeIntentHandler::resolveQuietMode(
    std::shared_ptr<kestrova::SetQuietModeIntent> intent) {
    const auto quietMode = intent->quietMode();
    co_return quietMode ? intents::BooleanResolutionResult::success(quietMode->boolValue())
                        : intents::BooleanResolutionResult::needsValue();
}

}  // namespace orvane
