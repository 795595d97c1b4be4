#include "platform/ui/AppStorage.hpp"

#include <cstdint>
#include <variant>

namespace ui {

std::optional<bool> storedBool(const foundation::DefaultsValue& value) {
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return *integer != 0;
    }
    if (const auto* number = std::get_if<double>(&value)) {
        return *number != 0.0;
    }
    return std::nullopt;
}

std::optional<double> storedDouble(const foundation::DefaultsValue& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        return *number;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return static_cast<double>(*integer);
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? 1.0 : 0.0;
    }
    return std::nullopt;
}

}  // namespace ui
