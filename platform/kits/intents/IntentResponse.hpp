#pragma once

#include "platform/kits/intents/Archivable.hpp"
#include "platform/kits/intents/UserActivity.hpp"

#include <cstdint>
#include <memory>

namespace intents {

class KeyedUnarchiver;

// A handler's answer to an intent. Subclasses keep a response code of their
// own type; the platform reads and writes it as a 64-bit integer property
// through platformCode() and setPlatformCode(), and it is this base class that
// carries the code, with the user activity, through an archive.
class IntentResponse : public Archivable {
public:
    [[nodiscard]] const std::shared_ptr<UserActivity>& userActivity() const noexcept { return userActivity_; }
    void setUserActivity(std::shared_ptr<UserActivity> activity) { userActivity_ = std::move(activity); }

    // The code as the platform sees it: whatever integer was stored.
    [[nodiscard]] virtual std::int64_t platformCode() const = 0;
    virtual void setPlatformCode(std::int64_t code) = 0;

    void encode(KeyedArchiver& coder) const override;

protected:
    IntentResponse() = default;
    // The base class's archive decoding: the user activity, then the code
    // through setPlatformCode() when the archive has one.
    void decodeBase(const KeyedUnarchiver& coder);

private:
    std::shared_ptr<UserActivity> userActivity_;
};

}  // namespace intents
