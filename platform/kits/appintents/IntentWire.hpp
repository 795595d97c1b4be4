#pragma once

#include "platform/kits/appintents/IntentCatalogue.hpp"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace appintents {

// A text that is not the JSON of the value it should carry; what() says what was wrong and where.
class IntentWireError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The JSON in which actions, values, entities and results travel between the application and a
// runner. Values go as {"name", "kind", "value"} in a list (a JSON object cannot be read key by
// key blind), files with their bytes in Base64, entities with their display and their properties.
// `toWire` and `fromWire` are defined for IntentValues, IntentResult, EntityCollection and the
// lists of IntentDescription, EntityValue, DisplayRepresentation and std::string. `fromWire`
// throws IntentWireError for anything but the JSON `toWire` writes for its type; it keeps nothing
// of a text it refuses.
template <typename T>
[[nodiscard]] std::string toWire(const T& value);
template <typename T>
[[nodiscard]] T fromWire(std::string_view json);

}  // namespace appintents
