#pragma once

#include "kestrova/intents/IntentJournal.hpp"
#include "platform/kits/intents/ObjectResolutionResult.hpp"

#include <memory>
#include <vector>

namespace kestrova {

// The resolution of a journal parameter. Every answer that carries an
// object carries an IntentJournal: the untyped makers inherited from the
// base class are withdrawn, and calling one stops the process.
class IntentJournalResolutionResult final : public intents::ObjectResolutionResult {
public:
    explicit IntentJournalResolutionResult(const intents::KeyedUnarchiver& coder) : ObjectResolutionResult(coder) {}

    static std::shared_ptr<IntentJournalResolutionResult> success(std::shared_ptr<IntentJournal> resolvedIntentJournal);
    static std::shared_ptr<IntentJournalResolutionResult> disambiguation(
        const std::vector<std::shared_ptr<IntentJournal>>& intentJournalsToDisambiguate);
    static std::shared_ptr<IntentJournalResolutionResult> confirmationRequired(
        std::shared_ptr<IntentJournal> intentJournalToConfirm);

    static std::shared_ptr<IntentJournalResolutionResult> needsValue() { return make<IntentJournalResolutionResult>(Kind::needsValue); }
    static std::shared_ptr<IntentJournalResolutionResult> notRequired() { return make<IntentJournalResolutionResult>(Kind::notRequired); }
    static std::shared_ptr<IntentJournalResolutionResult> unsupported() { return make<IntentJournalResolutionResult>(Kind::unsupported); }

    [[deprecated("withdrawn: use success(IntentJournal)")]] [[noreturn]] static std::shared_ptr<
        IntentJournalResolutionResult>
    successWithResolvedObject(std::shared_ptr<intents::Object> resolvedObject);
    [[deprecated("withdrawn: use disambiguation(IntentJournals)")]] [[noreturn]] static std::shared_ptr<
        IntentJournalResolutionResult>
    disambiguationWithObjectsToDisambiguate(std::vector<std::shared_ptr<intents::Object>> objectsToDisambiguate);
    [[deprecated("withdrawn: use confirmationRequired(IntentJournal)")]] [[noreturn]] static std::shared_ptr<
        IntentJournalResolutionResult>
    confirmationRequiredWithObjectToConfirm(std::shared_ptr<intents::Object> objectToConfirm);

    [[nodiscard]] std::string_view className() const override { return "IntentJournalResolutionResult"; }

private:
    friend class intents::ObjectResolutionResult;

    IntentJournalResolutionResult(Kind kind, std::optional<intents::ParameterValue> value,
                                  std::vector<intents::ParameterValue> alternatives)
        : ObjectResolutionResult(kind, std::move(value), std::move(alternatives)) {}
};

}  // namespace kestrova
