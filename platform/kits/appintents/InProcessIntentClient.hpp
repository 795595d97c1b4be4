#pragma once

#include "platform/kits/appintents/IntentClient.hpp"

namespace appintents {

// A catalogue of this process called as a client calls the application's: each call runs the
// main loop until its task has ended. On the main thread only, outside the main loop's own jobs.
class InProcessIntentClient final : public IntentClient {
public:
    explicit InProcessIntentClient(const IntentCatalogue& catalogue) : catalogue_(catalogue) {}

    [[nodiscard]] std::vector<IntentDescription> intents() override { return catalogue_.intents(); }
    [[nodiscard]] std::string summary(const std::string& title, const IntentValues& values) override {
        return catalogue_.summary(title, values);
    }
    [[nodiscard]] std::vector<DisplayRepresentation> predictions(const std::string& title,
                                                                 const IntentValues& values) override {
        return catalogue_.predictions(title, values);
    }
    [[nodiscard]] std::vector<EntityValue> entities(const std::string& typeName,
                                                    const std::vector<std::string>& identifiers) override;
    [[nodiscard]] EntityCollection suggestedEntities(const std::string& typeName) override;
    [[nodiscard]] EntityCollection entitiesMatching(const std::string& typeName, const std::string& text) override;
    IntentResult perform(const std::string& title, const IntentValues& values) override;

private:
    const IntentCatalogue& catalogue_;
};

}  // namespace appintents
