#pragma once

#include "kestrova/intents/SelectJournalIntentResponseCode.hpp"
#include "kestrova/intents/TypedIntentResponse.hpp"

namespace kestrova {

// The answer to a SelectJournalIntent.
class SelectJournalIntentResponse final : public TypedIntentResponse<SelectJournalIntentResponseCode> {
public:
    SelectJournalIntentResponse() = default;
    SelectJournalIntentResponse(SelectJournalIntentResponseCode code, std::shared_ptr<intents::UserActivity> userActivity)
        : TypedIntentResponse(code, std::move(userActivity)) {}
    explicit SelectJournalIntentResponse(const intents::KeyedUnarchiver& coder) : TypedIntentResponse(coder) {}

    [[nodiscard]] std::string_view className() const override { return "SelectJournalIntentResponse"; }
};

}  // namespace kestrova
