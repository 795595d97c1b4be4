#include "platform/kits/intents/BooleanResolutionResult.hpp"

namespace intents {

std::shared_ptr<BooleanResolutionResult> BooleanResolutionResult::success(bool resolvedValue) {
    return std::shared_ptr<BooleanResolutionResult>(
        new BooleanResolutionResult(Kind::success, ParameterValue(Number(resolvedValue))));
}

std::shared_ptr<BooleanResolutionResult> BooleanResolutionResult::confirmationRequired(
    std::optional<bool> valueToConfirm) {
    std::optional<ParameterValue> value;
    if (valueToConfirm) {
        value = ParameterValue(Number(*valueToConfirm));
    }
    return std::shared_ptr<BooleanResolutionResult>(
        new BooleanResolutionResult(Kind::confirmationRequired, std::move(value)));
}

std::shared_ptr<BooleanResolutionResult> BooleanResolutionResult::needsValue() {
    return std::shared_ptr<BooleanResolutionResult>(new BooleanResolutionResult(Kind::needsValue, std::nullopt));
}

std::shared_ptr<BooleanResolutionResult> BooleanResolutionResult::notRequired() {
    return std::shared_ptr<BooleanResolutionResult>(new BooleanResolutionResult(Kind::notRequired, std::nullopt));
}

std::shared_ptr<BooleanResolutionResult> BooleanResolutionResult::unsupported() {
    return std::shared_ptr<BooleanResolutionResult>(new BooleanResolutionResult(Kind::unsupported, std::nullopt));
}

std::optional<bool> BooleanResolutionResult::boolValue() const {
    const auto* number = value() ? std::get_if<Number>(&*value()) : nullptr;
    return number ? std::optional<bool>(number->boolValue()) : std::nullopt;
}

}  // namespace intents
