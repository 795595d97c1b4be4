#include "tools/widgethost/JournalChoices.hpp"

#include "kestrova/intents/SelectJournalIntent.hpp"
#include "platform/kits/intents/ExtensionHost.hpp"

#include <iostream>

namespace widgethost {
namespace {

class ExtensionJournalChoices final : public JournalChoices {
public:
    explicit ExtensionJournalChoices(std::string executable) : executable_(std::move(executable)) {}

    std::shared_ptr<intents::ObjectCollection> options() override {
        return host()->provideOptions(std::make_shared<kestrova::SelectJournalIntent>(), "journal");
    }
    std::shared_ptr<intents::Object> defaultJournal() override {
        return host()->defaultValue(std::make_shared<kestrova::SelectJournalIntent>(), "journal");
    }

private:
    // One process per question, so that questions from several threads share nothing and each
    // reads the shared defaults afresh.
    [[nodiscard]] std::unique_ptr<intents::ExtensionHost> host() const {
        return std::make_unique<intents::ExtensionHost>(std::vector<std::string>{executable_},
                                                        [](std::string_view line) { std::cout << line << '\n'; });
    }

    std::string executable_;
};

}  // namespace

std::unique_ptr<JournalChoices> makeExtensionJournalChoices(std::string executable) {
    return std::make_unique<ExtensionJournalChoices>(std::move(executable));
}

}  // namespace widgethost
