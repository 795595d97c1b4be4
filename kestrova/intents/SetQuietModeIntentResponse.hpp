#pragma once

#include "kestrova/intents/SetQuietModeIntentResponseCode.hpp"
#include "kestrova/intents/TypedIntentResponse.hpp"

namespace kestrova {

// The answer to a SetQuietModeIntent.
class SetQuietModeIntentResponse final : public TypedIntentResponse<SetQuietModeIntentResponseCode> {
public:
    SetQuietModeIntentResponse() = default;
    SetQuietModeIntentResponse(SetQuietModeIntentResponseCode code, std::shared_ptr<intents::UserActivity> userActivity)
        : TypedIntentResponse(code, std::move(userActivity)) {}
    explicit SetQuietModeIntentResponse(const intents::KeyedUnarchiver& coder) : TypedIntentResponse(coder) {}

    [[nodiscard]] std::string_view className() const override { return "SetQuietModeIntentResponse"; }
};

}  // namespace kestrova
