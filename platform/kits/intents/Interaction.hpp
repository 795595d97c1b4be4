#pragma once

#include "platform/kits/intents/Archivable.hpp"

#include <memory>

namespace intents {

class Intent;
class KeyedUnarchiver;

// One exchange between the user and an intent: the intent that was asked for, as it reaches the
// application through a user activity.
class Interaction : public Archivable {
public:
    explicit Interaction(std::shared_ptr<Intent> intent);
    explicit Interaction(const KeyedUnarchiver& coder);

    [[nodiscard]] const std::shared_ptr<Intent>& intent() const noexcept { return intent_; }

    [[nodiscard]] std::string_view className() const override { return "INInteraction"; }
    void encode(KeyedArchiver& coder) const override;

private:
    std::shared_ptr<Intent> intent_;
};

}  // namespace intents
