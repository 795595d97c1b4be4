#pragma once

#include "platform/kits/intents/Intent.hpp"
#include "kestrova/intents/IntentJournal.hpp"

#include <memory>

namespace kestrova {

// Open the publish view of a journal in the application.
class OpenPublishViewIntent : public intents::Intent {
public:
    OpenPublishViewIntent() = default;
    // Runs the base class's archive decoding only.
    explicit OpenPublishViewIntent(const intents::KeyedUnarchiver& coder) : Intent(coder) {}

    [[nodiscard]] std::vector<intents::ParameterDescription> parameterDescriptions() const override;
    [[nodiscard]] std::string_view className() const override { return "OpenPublishViewIntent"; }

    [[nodiscard]] std::shared_ptr<IntentJournal> journal() const { return objectParameter<IntentJournal>("journal"); }
    void setJournal(std::shared_ptr<IntentJournal> journal) { setObjectParameter("journal", std::move(journal)); }
};

}  // namespace kestrova
