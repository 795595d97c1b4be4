#include "platform/kits/intents/StringResolutionResult.hpp"

namespace intents {

std::shared_ptr<StringResolutionResult> StringResolutionResult::success(std::string resolvedString) {
    return std::shared_ptr<StringResolutionResult>(
        new StringResolutionResult(Kind::success, ParameterValue(std::move(resolvedString)), {}));
}

std::shared_ptr<StringResolutionResult> StringResolutionResult::disambiguation(
    std::vector<std::string> stringsToDisambiguate) {
    std::vector<ParameterValue> alternatives(stringsToDisambiguate.begin(), stringsToDisambiguate.end());
    return std::shared_ptr<StringResolutionResult>(
        new StringResolutionResult(Kind::disambiguation, std::nullopt, std::move(alternatives)));
}

std::shared_ptr<StringResolutionResult> StringResolutionResult::confirmationRequired(
    std::optional<std::string> stringToConfirm) {
    std::optional<ParameterValue> value;
    if (stringToConfirm) {
        value = ParameterValue(std::move(*stringToConfirm));
    }
    return std::shared_ptr<StringResolutionResult>(
        new StringResolutionResult(Kind::confirmationRequired, std::move(value), {}));
}

std::shared_ptr<StringResolutionResult> StringResolutionResult::needsValue() {
    return std::shared_ptr<StringResolutionResult>(new StringResolutionResult(Kind::needsValue, std::nullopt, {}));
}

std::shared_ptr<StringResolutionResult> StringResolutionResult::notRequired() {
    return std::shared_ptr<StringResolutionResult>(new StringResolutionResult(Kind::notRequired, std::nullopt, {}));
}

std::shared_ptr<StringResolutionResult> StringResolutionResult::unsupported() {
    return std::shared_ptr<StringResolutionResult>(new StringResolutionResult(Kind::unsupported, std::nullopt, {}));
}

std::optional<std::string> StringResolutionResult::string() const {
    const auto* text = value() ? std::get_if<std::string>(&*value()) : nullptr;
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

}  // namespace intents
