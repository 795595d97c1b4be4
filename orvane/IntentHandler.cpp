#include "orvane/IntentHandler.hpp"

#include "orvane/CreateEntryIntentHandler.hpp"
#include "orvane/OpenPublishViewIntentHandler.hpp"
#include "orvane/SelectJournalIntentHandler.hpp"
#include "orvane/SetQuietModeIntentHandler.hpp"
#include "platform/runtime/base/FatalError.hpp"

namespace orvane {
namespace {

// Where the report says the fault lies, as the extension's source names it.
constexpr std::string_view source = "Orvane/IntentHandler";
constexpr unsigned line = 25;

}  // namespace

std::shared_ptr<intents::HandlerObject> IntentHandler::handler(const std::shared_ptr<intents::Intent>& intent) {
    if (std::dynamic_pointer_cast<kestrova::CreateEntryIntent>(intent)) {
        return std::make_shared<CreateEntryIntentHandler>();
    }
    if (std::dynamic_pointer_cast<kestrova::OpenPublishViewIntent>(intent)) {
        return std::make_shared<OpenPublishViewIntentHandler>();
    }
    if (std::dynamic_pointer_cast<kestrova::SelectJournalIntent>(intent)) {
        return std::make_shared<SelectJournalIntentHandler>();
    }
    if (std::dynamic_pointer_cast<kestrova::SetQuietModeIntent>(intent)) {
        return std::make_shared<SetQuietModeIntentHandler>();
    }
    base::fatalError("Unhandled intent type: " + intent->description(), source, line);
}

}  // namespace orvane
