#pragma once

#include "kestrova/intents/OpenPublishViewIntentResponseCode.hpp"
#include "kestrova/intents/TypedIntentResponse.hpp"

namespace kestrova {

// The answer to a OpenPublishViewIntent.
class OpenPublishViewIntentResponse final : public TypedIntentResponse<OpenPublishViewIntentResponseCode> {
public:
    OpenPublishViewIntentResponse() = default;
    OpenPublishViewIntentResponse(OpenPublishViewIntentResponseCode code, std::shared_ptr<intents::UserActivity> userActivity)
        : TypedIntentResponse(code, std::move(userActivity)) {}
    explicit OpenPublishViewIntentResponse(const intents::KeyedUnarchiver& coder) : TypedIntentResponse(coder) {}

    [[nodiscard]] std::string_view className() const override { return "OpenPublishViewIntentResponse"; }
};

}  // namespace kestrova
