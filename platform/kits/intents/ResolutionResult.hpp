#pragma once

#include "platform/kits/intents/Archivable.hpp"
#include "platform/kits/intents/ParameterValue.hpp"

#include <optional>
#include <string_view>
#include <vector>

namespace intents {

class KeyedUnarchiver;

// A handler's answer to "what value does this parameter take?". The typed
// subclasses make the answers that carry a value; the ones that carry none
// (needsValue, notRequired, unsupported) every subclass offers as well.
class ResolutionResult : public Archivable {
public:
    enum class Kind { success, disambiguation, confirmationRequired, needsValue, notRequired, unsupported };

    [[nodiscard]] Kind kind() const noexcept { return kind_; }
    // The resolved value (success) or the one to confirm, which may be none.
    [[nodiscard]] const std::optional<ParameterValue>& value() const noexcept { return value_; }
    // The values to choose from (disambiguation), in order.
    [[nodiscard]] const std::vector<ParameterValue>& alternatives() const noexcept { return alternatives_; }

    void encode(KeyedArchiver& coder) const override;

    static std::string_view name(Kind kind);

protected:
    ResolutionResult(Kind kind, std::optional<ParameterValue> value, std::vector<ParameterValue> alternatives)
        : kind_(kind), value_(std::move(value)), alternatives_(std::move(alternatives)) {}
    explicit ResolutionResult(const KeyedUnarchiver& coder);

private:
    Kind kind_;
    std::optional<ParameterValue> value_;
    std::vector<ParameterValue> alternatives_;
};

}  // namespace intents
