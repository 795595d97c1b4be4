#pragma once

#include "platform/intents/Archivable.hpp"

#include <string>

namespace intents {

class KeyedUnarchiver;

// Work handed over from an intent to the application, named by its type.
class UserActivity : public Archivable {
public:
    explicit UserActivity(std::string activityType);
    explicit UserActivity(const KeyedUnarchiver& coder);

    [[nodiscard]] const std::string& activityType() const noexcept { return activityType_; }

    [[nodiscard]] std::string_view className() const override { return "NSUserActivity"; }
    void encode(KeyedArchiver& coder) const override;

private:
    std::string activityType_;
};

}  // namespace intents
