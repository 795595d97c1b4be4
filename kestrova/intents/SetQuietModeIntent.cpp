#include "kestrova/intents/SetQuietModeIntent.hpp"

namespace kestrova {

std::vector<intents::ParameterDescription> SetQuietModeIntent::parameterDescriptions() const {
    return {{.name = "quietMode", .resolvable = true}};
}

void SetQuietModeIntent::setQuietMode(std::optional<intents::Number> quietMode) {
    setParameterValue("quietMode", quietMode ? std::optional<intents::ParameterValue>(*quietMode) : std::nullopt);
}

}  // namespace kestrova
