#include "kestrova/intents/OpenPublishViewIntent.hpp"

namespace kestrova {

std::vector<intents::ParameterDescription> OpenPublishViewIntent::parameterDescriptions() const {
    return {{.name = "journal", .resolvable = true, .hasDynamicOptions = true}};
}

}  // namespace kestrova
