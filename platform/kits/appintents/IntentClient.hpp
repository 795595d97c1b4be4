#pragma once

#include "platform/kits/appintents/IntentCatalogue.hpp"

#include <stdexcept>
#include <string>
#include <vector>

namespace appintents {

// The application could not be reached, started or understood: nothing was run.
class IntentTransportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The application's actions as another program reaches them, one call at a time, each answered
// before it returns. The calls throw what the catalogue's do (MissingParameter, IntentFailure,
// std::invalid_argument for a request that names nothing or a value of the wrong kind), and
// IntentTransportError when the application does not answer.
class IntentClient {
public:
    virtual ~IntentClient() = default;

    [[nodiscard]] virtual std::vector<IntentDescription> intents() = 0;
    [[nodiscard]] virtual std::string summary(const std::string& title, const IntentValues& values) = 0;
    [[nodiscard]] virtual std::vector<DisplayRepresentation> predictions(const std::string& title,
                                                                         const IntentValues& values) = 0;
    [[nodiscard]] virtual std::vector<EntityValue> entities(const std::string& typeName,
                                                            const std::vector<std::string>& identifiers) = 0;
    [[nodiscard]] virtual EntityCollection suggestedEntities(const std::string& typeName) = 0;
    [[nodiscard]] virtual EntityCollection entitiesMatching(const std::string& typeName, const std::string& text) = 0;
    virtual IntentResult perform(const std::string& title, const IntentValues& values) = 0;
};

}  // namespace appintents
