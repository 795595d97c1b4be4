#include "platform/kits/appstorage/AppStorage.hpp"

#include <cstdint>
#include <functional>
#include <iostream>
#include <mutex>
#include <set>
#include <string>
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

void reportUnreadableSetting(std::string_view key, const foundation::UserDefaultsError& error) {
    // Never destroyed: a setting may still be read while the process exits.
    static auto* const mutex = new std::mutex;
    static auto* const reported = new std::set<std::string, std::less<>>;
    const std::lock_guard lock(*mutex);
    if (!reported->insert(std::string(key)).second) {
        return;
    }
    std::cerr << "the setting \"" << key << "\" reads as its default: " << error.what() << std::endl;
}

}  // namespace ui
