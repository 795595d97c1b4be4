#include "platform/kits/appintents/AppIntent.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

namespace appintents {

ParameterSlot::ParameterSlot(AppIntent& owner, std::string name, ParameterOptions options)
    : name_(std::move(name)), options_(std::move(options)) {
    owner.parameters_.push_back(this);
}

ParameterSlot* AppIntent::parameter(std::string_view name) const {
    const auto found = std::ranges::find(parameters_, name, &ParameterSlot::name);
    return found == parameters_.end() ? nullptr : *found;
}

std::string displayText(const IntentValue& value, const std::optional<std::pair<std::string, std::string>>& boolNames) {
    struct Shown {
        const std::optional<std::pair<std::string, std::string>>& names;
        std::string operator()(bool on) const {
            if (names) {
                return on ? names->first : names->second;
            }
            return on ? "true" : "false";
        }
        std::string operator()(double number) const {
            std::ostringstream text;
            text.precision(15);
            text << number;
            return text.str();
        }
        std::string operator()(const std::string& text) const { return text; }
        std::string operator()(const EntityValue& entity) const { return entity.display.title; }
        std::string operator()(const IntentFile& file) const { return file.filename; }
    };
    return std::visit(Shown{boolNames}, value);
}

const SummarySentence& ParameterSummary::chosen(const AppIntent& intent) const {
    if (whenParameter && otherwise) {
        const ParameterSlot* slot = intent.parameter(*whenParameter);
        if (slot == nullptr || !slot->value()) {
            return *otherwise;
        }
    }
    return sentence;
}

std::string ParameterSummary::text(const AppIntent& intent) const {
    std::string text;
    for (const auto& piece : chosen(intent).pieces) {
        if (const auto* words = std::get_if<std::string>(&piece)) {
            text += *words;
            continue;
        }
        const ParameterSlot* slot = intent.parameter(std::get<ParameterReference>(piece).name);
        if (slot == nullptr) {
            continue;
        }
        const auto value = slot->value();
        text += value ? displayText(*value, slot->options().displayNames) : "[" + slot->options().title + "]";
    }
    return text;
}

}  // namespace appintents
