#include "platform/kits/intents/Number.hpp"

namespace intents {

bool Number::boolValue() const noexcept {
    if (const auto* flag = std::get_if<bool>(&value_)) {
        return *flag;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value_)) {
        return *integer != 0;
    }
    // NaN is not zero, so it is true, as for the other platform's numbers.
    return std::get<double>(value_) != 0.0;
}

}  // namespace intents
