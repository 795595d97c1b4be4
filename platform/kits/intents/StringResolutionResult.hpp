#pragma once

#include "platform/kits/intents/ResolutionResult.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace intents {

// The resolution of a text parameter.
class StringResolutionResult final : public ResolutionResult {
public:
    explicit StringResolutionResult(const KeyedUnarchiver& coder) : ResolutionResult(coder) {}

    static std::shared_ptr<StringResolutionResult> success(std::string resolvedString);
    static std::shared_ptr<StringResolutionResult> disambiguation(std::vector<std::string> stringsToDisambiguate);
    static std::shared_ptr<StringResolutionResult> confirmationRequired(std::optional<std::string> stringToConfirm);
    static std::shared_ptr<StringResolutionResult> needsValue();
    static std::shared_ptr<StringResolutionResult> notRequired();
    static std::shared_ptr<StringResolutionResult> unsupported();

    [[nodiscard]] std::optional<std::string> string() const;

    [[nodiscard]] std::string_view className() const override { return "INStringResolutionResult"; }

private:
    StringResolutionResult(Kind kind, std::optional<ParameterValue> value, std::vector<ParameterValue> alternatives)
        : ResolutionResult(kind, std::move(value), std::move(alternatives)) {}
};

}  // namespace intents
