#pragma once

#include "platform/kits/appintents/DisplayRepresentation.hpp"
#include "platform/kits/appintents/IntentFile.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace appintents {

// One field of an entity as it travels between actions and processes: its key in the entity, the
// title a user picks it by (empty for a field that is no titled property), and its value, which a
// property may lack.
struct EntityProperty {
    using Value = std::variant<std::monostate, std::string, std::int64_t, double>;
    std::string key;
    std::string title;
    Value value;

    friend bool operator==(const EntityProperty&, const EntityProperty&) = default;
};

// An entity taken apart: what a shortcut holds of it between steps, and what the bus carries.
struct EntityValue {
    std::string typeName;
    std::string identifier;
    DisplayRepresentation display;
    std::vector<EntityProperty> properties;

    // The value of the field `key`, when the entity has one of that kind.
    template <typename T>
    [[nodiscard]] std::optional<T> property(std::string_view key) const {
        for (const auto& each : properties) {
            if (each.key == key) {
                if (const T* value = std::get_if<T>(&each.value)) {
                    return *value;
                }
            }
        }
        return std::nullopt;
    }

    friend bool operator==(const EntityValue&, const EntityValue&) = default;
};

// The value of one parameter.
using IntentValue = std::variant<bool, double, std::string, EntityValue, IntentFile>;

// Parameter values by the parameter's name.
using IntentValues = std::map<std::string, IntentValue>;

// What a parameter shows in a sentence: an entity's display title, "On"/"Off" or the names given
// for a Boolean, a number as written, a file's name.
std::string displayText(const IntentValue& value, const std::optional<std::pair<std::string, std::string>>& boolNames);

}  // namespace appintents
