#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace appintents {

class AppIntent;

// A parameter standing in a summary's sentence, by its name.
struct ParameterReference {
    std::string name;
    friend bool operator==(const ParameterReference&, const ParameterReference&) = default;
};

// The sentence an editor shows for an action, piece by piece, and the parameters listed under it.
struct SummarySentence {
    std::vector<std::variant<std::string, ParameterReference>> pieces;
    std::vector<std::string> listed;
};

// An action's summary: one sentence, or one while a parameter has a value and another otherwise.
struct ParameterSummary {
    SummarySentence sentence;
    std::optional<std::string> whenParameter;
    std::optional<SummarySentence> otherwise;

    static ParameterSummary always(SummarySentence sentence) { return {std::move(sentence), std::nullopt, std::nullopt}; }
    static ParameterSummary when(std::string parameter, SummarySentence hasValue, SummarySentence otherwise) {
        return {std::move(hasValue), std::move(parameter), std::move(otherwise)};
    }

    // The sentence for the action's values, with each parameter shown by its value's display text,
    // or by its title in brackets when it has none.
    [[nodiscard]] const SummarySentence& chosen(const AppIntent& intent) const;
    [[nodiscard]] std::string text(const AppIntent& intent) const;
};

}  // namespace appintents
