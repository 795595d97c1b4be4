#include "kestrova/intents/SelectJournalIntent.hpp"

namespace kestrova {

std::vector<intents::ParameterDescription> SelectJournalIntent::parameterDescriptions() const {
    return {{.name = "journal", .resolvable = false, .hasDynamicOptions = true}};
}

}  // namespace kestrova
