#include "kestrova/intents/CreateEntryIntent.hpp"

namespace kestrova {

std::vector<intents::ParameterDescription> CreateEntryIntent::parameterDescriptions() const {
    return {
        {.name = "journal", .resolvable = true, .hasDynamicOptions = true},
        {.name = "notes", .resolvable = true},
        {.name = "isPrivate", .resolvable = true},
        {.name = "file"},
    };
}

void CreateEntryIntent::setNotes(std::optional<std::string> notes) {
    setParameterValue("notes", notes ? std::optional<intents::ParameterValue>(std::move(*notes)) : std::nullopt);
}

void CreateEntryIntent::setIsPrivate(std::optional<intents::Number> isPrivate) {
    setParameterValue("isPrivate", isPrivate ? std::optional<intents::ParameterValue>(*isPrivate) : std::nullopt);
}

}  // namespace kestrova
