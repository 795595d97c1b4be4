#include "kestrova/intents/IntentJournalResolutionResult.hpp"

#include "platform/runtime/base/FatalError.hpp"

#include <source_location>

namespace kestrova {
namespace {

// Each deliverable compiles its own copy of the schema and names itself
// in the report, as its own source would.
constexpr std::string_view source = KESTROVA_INTENT_SCHEMA_MODULE "/IntentJournal";

[[noreturn]] void withdrawn(std::source_location where = std::source_location::current()) {
    base::fatalError("", source, static_cast<unsigned>(where.line()));
}

}  // namespace

std::shared_ptr<IntentJournalResolutionResult> IntentJournalResolutionResult::success(
    std::shared_ptr<IntentJournal> resolvedIntentJournal) {
    return make<IntentJournalResolutionResult>(Kind::success, std::move(resolvedIntentJournal));
}

std::shared_ptr<IntentJournalResolutionResult> IntentJournalResolutionResult::disambiguation(
    const std::vector<std::shared_ptr<IntentJournal>>& intentJournalsToDisambiguate) {
    return make<IntentJournalResolutionResult>(
        Kind::disambiguation, nullptr,
        std::vector<std::shared_ptr<intents::Object>>(intentJournalsToDisambiguate.begin(),
                                                      intentJournalsToDisambiguate.end()));
}

std::shared_ptr<IntentJournalResolutionResult> IntentJournalResolutionResult::confirmationRequired(
    std::shared_ptr<IntentJournal> intentJournalToConfirm) {
    return make<IntentJournalResolutionResult>(Kind::confirmationRequired, std::move(intentJournalToConfirm));
}

std::shared_ptr<IntentJournalResolutionResult> IntentJournalResolutionResult::successWithResolvedObject(
    std::shared_ptr<intents::Object>) {
    withdrawn();
}

std::shared_ptr<IntentJournalResolutionResult> IntentJournalResolutionResult::disambiguationWithObjectsToDisambiguate(
    std::vector<std::shared_ptr<intents::Object>>) {
    withdrawn();
}

std::shared_ptr<IntentJournalResolutionResult> IntentJournalResolutionResult::confirmationRequiredWithObjectToConfirm(
    std::shared_ptr<intents::Object>) {
    withdrawn();
}

}  // namespace kestrova
