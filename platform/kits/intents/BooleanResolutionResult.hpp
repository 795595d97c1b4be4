#pragma once

#include "platform/kits/intents/ResolutionResult.hpp"

#include <memory>
#include <optional>

namespace intents {

// The resolution of a Boolean parameter.
class BooleanResolutionResult final : public ResolutionResult {
public:
    explicit BooleanResolutionResult(const KeyedUnarchiver& coder) : ResolutionResult(coder) {}

    static std::shared_ptr<BooleanResolutionResult> success(bool resolvedValue);
    static std::shared_ptr<BooleanResolutionResult> confirmationRequired(std::optional<bool> valueToConfirm);
    static std::shared_ptr<BooleanResolutionResult> needsValue();
    static std::shared_ptr<BooleanResolutionResult> notRequired();
    static std::shared_ptr<BooleanResolutionResult> unsupported();

    [[nodiscard]] std::optional<bool> boolValue() const;

    [[nodiscard]] std::string_view className() const override { return "INBooleanResolutionResult"; }

private:
    BooleanResolutionResult(Kind kind, std::optional<ParameterValue> value)
        : ResolutionResult(kind, std::move(value), {}) {}
};

}  // namespace intents
