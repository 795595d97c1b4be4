#include "platform/kits/intents/Intent.hpp"

#include "platform/runtime/foundation/core/UUID.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"

#include <cstdio>

namespace intents {

Intent::Intent() : identifier_(foundation::UUID().uuidString()) {}

Intent::Intent(const KeyedUnarchiver& coder) : identifier_(coder.decodeString("identifier").value_or("")) {
    const auto names = coder.decodeValues("parameterNames");
    const auto values = coder.decodeValues("parameterValues");
    if (names.size() != values.size()) {
        throw ArchiveError("the archived intent has " + std::to_string(names.size()) + " parameter names for " +
                           std::to_string(values.size()) + " values");
    }
    for (std::size_t index = 0; index < names.size(); ++index) {
        const auto* name = std::get_if<std::string>(&names[index]);
        if (name == nullptr) {
            throw ArchiveError("the archived intent names a parameter with something other than a text");
        }
        parameters_.insert_or_assign(*name, values[index]);
    }
}

std::optional<ParameterValue> Intent::parameterValue(std::string_view name) const {
    const auto found = parameters_.find(name);
    if (found == parameters_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void Intent::setParameterValue(std::string_view name, std::optional<ParameterValue> value) {
    if (!value) {
        if (const auto found = parameters_.find(name); found != parameters_.end()) {
            parameters_.erase(found);
        }
        return;
    }
    parameters_.insert_or_assign(std::string(name), std::move(*value));
}

void Intent::setObjectParameter(std::string_view name, std::shared_ptr<Archivable> object) {
    setParameterValue(name, object ? std::optional<ParameterValue>(std::move(object)) : std::nullopt);
}

std::optional<std::string> Intent::stringParameter(std::string_view name) const {
    const auto value = parameterValue(name);
    const auto* text = value ? std::get_if<std::string>(&*value) : nullptr;
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

std::optional<Number> Intent::numberParameter(std::string_view name) const {
    const auto value = parameterValue(name);
    const auto* number = value ? std::get_if<Number>(&*value) : nullptr;
    return number ? std::optional<Number>(*number) : std::nullopt;
}

std::string Intent::description() const {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return "<" + std::string(className()) + ": " + address + ">";
}

void Intent::encode(KeyedArchiver& coder) const {
    coder.encodeString("identifier", identifier_);
    std::vector<ParameterValue> names;
    std::vector<ParameterValue> values;
    for (const auto& [name, value] : parameters_) {
        names.emplace_back(name);
        values.push_back(value);
    }
    coder.encodeValues("parameterNames", names);
    coder.encodeValues("parameterValues", values);
}

}  // namespace intents
