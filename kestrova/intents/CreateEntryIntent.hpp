#pragma once

#include "platform/kits/intents/Intent.hpp"
#include "kestrova/intents/IntentJournal.hpp"
#include "platform/kits/intents/File.hpp"
#include "platform/kits/intents/Number.hpp"

#include <memory>
#include <optional>
#include <string>

namespace kestrova {

// Publish an entry: notes and at most one file, to a journal, private or not.
// Parameters live in the parameter storage; one never set reads as none.
class CreateEntryIntent : public intents::Intent {
public:
    CreateEntryIntent() = default;
    // Runs the base class's archive decoding only.
    explicit CreateEntryIntent(const intents::KeyedUnarchiver& coder) : Intent(coder) {}

    [[nodiscard]] std::vector<intents::ParameterDescription> parameterDescriptions() const override;
    [[nodiscard]] std::string_view className() const override { return "CreateEntryIntent"; }

    [[nodiscard]] std::shared_ptr<IntentJournal> journal() const { return objectParameter<IntentJournal>("journal"); }
    void setJournal(std::shared_ptr<IntentJournal> journal) { setObjectParameter("journal", std::move(journal)); }
    [[nodiscard]] std::optional<std::string> notes() const { return stringParameter("notes"); }
    void setNotes(std::optional<std::string> notes);
    // A number holding a Boolean.
    [[nodiscard]] std::optional<intents::Number> isPrivate() const { return numberParameter("isPrivate"); }
    void setIsPrivate(std::optional<intents::Number> isPrivate);
    [[nodiscard]] std::shared_ptr<intents::File> file() const { return objectParameter<intents::File>("file"); }
    void setFile(std::shared_ptr<intents::File> file) { setObjectParameter("file", std::move(file)); }
};

}  // namespace kestrova
