#pragma once

#include "kestrova/intents/CreateEntryIntentResponseCode.hpp"
#include "kestrova/intents/TypedIntentResponse.hpp"

namespace kestrova {

// The answer to a CreateEntryIntent.
class CreateEntryIntentResponse final : public TypedIntentResponse<CreateEntryIntentResponseCode> {
public:
    CreateEntryIntentResponse() = default;
    CreateEntryIntentResponse(CreateEntryIntentResponseCode code, std::shared_ptr<intents::UserActivity> userActivity)
        : TypedIntentResponse(code, std::move(userActivity)) {}
    explicit CreateEntryIntentResponse(const intents::KeyedUnarchiver& coder) : TypedIntentResponse(coder) {}

    [[nodiscard]] std::string_view className() const override { return "CreateEntryIntentResponse"; }
};

}  // namespace kestrova
