#pragma once

#include "platform/kits/intents/Object.hpp"
#include "platform/kits/intents/ObjectCollection.hpp"

#include <memory>
#include <string>

namespace widgethost {

// Where the journals a "Journal" widget can show come from: the intents extension's options and
// default of SelectJournalIntent's journal. Both block and throw std::exception on failure.
class JournalChoices {
public:
    virtual ~JournalChoices() = default;
    [[nodiscard]] virtual std::shared_ptr<intents::ObjectCollection> options() = 0;
    // None when there is no journal to default to.
    [[nodiscard]] virtual std::shared_ptr<intents::Object> defaultJournal() = 0;
};

// Asks the intents extension, a fresh process for each question.
std::unique_ptr<JournalChoices> makeExtensionJournalChoices(std::string executable);

}  // namespace widgethost
