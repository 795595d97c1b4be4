#pragma once

#include "platform/kits/intents/IntentResponse.hpp"
#include "platform/kits/intents/UserActivity.hpp"

#include <cstdint>
#include <memory>

namespace intents {
class KeyedUnarchiver;
}

namespace kestrova {

// What the four responses of the schema share: a code of their own type,
// 0 (unspecified) until set, stored as given without a range check.
template <typename Code>
class TypedIntentResponse : public intents::IntentResponse {
public:
    [[nodiscard]] Code code() const noexcept { return static_cast<Code>(code_); }
    void setCode(Code code) noexcept { code_ = static_cast<std::int64_t>(code); }

    [[nodiscard]] std::int64_t platformCode() const override { return code_; }
    void setPlatformCode(std::int64_t code) override { code_ = code; }

protected:
    TypedIntentResponse() = default;
    TypedIntentResponse(Code code, std::shared_ptr<intents::UserActivity> userActivity) {
        setCode(code);
        setUserActivity(std::move(userActivity));
    }
    // The response writes no code of its own into an archive: it starts at 0,
    // and the base class's decoding brings back what the platform archived.
    explicit TypedIntentResponse(const intents::KeyedUnarchiver& coder) {
        code_ = 0;
        decodeBase(coder);
    }

private:
    std::int64_t code_ = 0;
};

}  // namespace kestrova
