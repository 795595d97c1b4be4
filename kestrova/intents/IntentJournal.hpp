#pragma once

#include "platform/kits/intents/Object.hpp"

#include <optional>
#include <string>

namespace kestrova {

// The object by which intents refer to one journal of the signed-in user.
// By the convention of every writer and reader: the identifier is the
// journal's id as decimal text, the display string its emoji, a blank and its
// title (or the title alone), and there is no pronunciation hint.
class IntentJournal final : public intents::Object {
public:
    IntentJournal(std::optional<std::string> identifier, std::string display,
                  std::optional<std::string> pronunciationHint)
        : Object(std::move(identifier), std::move(display), std::move(pronunciationHint)) {}
    // Runs the base class's archive decoding.
    explicit IntentJournal(const intents::KeyedUnarchiver& coder) : Object(coder) {}

    static constexpr bool supportsSecureCoding = true;

    [[nodiscard]] std::string_view className() const override { return "IntentJournal"; }
};

}  // namespace kestrova
