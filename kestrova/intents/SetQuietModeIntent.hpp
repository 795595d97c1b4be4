#pragma once

#include "platform/kits/intents/Intent.hpp"
#include "platform/kits/intents/Number.hpp"

#include <optional>

namespace kestrova {

// Turn the user's quiet mode on or off.
class SetQuietModeIntent : public intents::Intent {
public:
    SetQuietModeIntent() = default;
    // Runs the base class's archive decoding only.
    explicit SetQuietModeIntent(const intents::KeyedUnarchiver& coder) : Intent(coder) {}

    [[nodiscard]] std::vector<intents::ParameterDescription> parameterDescriptions() const override;
    [[nodiscard]] std::string_view className() const override { return "SetQuietModeIntent"; }

    // A number holding a Boolean.
    [[nodiscard]] std::optional<intents::Number> quietMode() const { return numberParameter("quietMode"); }
    void setQuietMode(std::optional<intents::Number> quietMode);
};

}  // namespace kestrova
