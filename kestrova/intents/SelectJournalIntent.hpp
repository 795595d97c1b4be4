#pragma once

#include "platform/kits/intents/Intent.hpp"
#include "kestrova/intents/IntentJournal.hpp"

#include <memory>

namespace kestrova {

// The configuration of the "Journal" widget: the journal it shows. Never
// resolved, so the chosen journal reaches its reader unchanged.
class SelectJournalIntent : public intents::Intent {
public:
    SelectJournalIntent() = default;
    // Runs the base class's archive decoding only.
    explicit SelectJournalIntent(const intents::KeyedUnarchiver& coder) : Intent(coder) {}

    [[nodiscard]] std::vector<intents::ParameterDescription> parameterDescriptions() const override;
    [[nodiscard]] std::string_view className() const override { return "SelectJournalIntent"; }

    [[nodiscard]] std::shared_ptr<IntentJournal> journal() const { return objectParameter<IntentJournal>("journal"); }
    void setJournal(std::shared_ptr<IntentJournal> journal) { setObjectParameter("journal", std::move(journal)); }
};

}  // namespace kestrova
