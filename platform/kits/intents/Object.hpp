#pragma once

#include "platform/kits/intents/Archivable.hpp"

#include <optional>
#include <string>

namespace intents {

class KeyedUnarchiver;

// A custom object of an intent parameter, as option lists show it and
// shortcuts keep it: an identifier for the code, a display string for the
// user and an optional pronunciation hint. Immutable once made.
class Object : public Archivable {
public:
    Object(std::optional<std::string> identifier, std::string displayString,
           std::optional<std::string> pronunciationHint);
    // Decoding from an archive (init(coder:)).
    explicit Object(const KeyedUnarchiver& coder);

    [[nodiscard]] const std::optional<std::string>& identifier() const noexcept { return identifier_; }
    [[nodiscard]] const std::string& displayString() const noexcept { return displayString_; }
    [[nodiscard]] const std::optional<std::string>& pronunciationHint() const noexcept { return pronunciationHint_; }

    [[nodiscard]] std::string_view className() const override { return "INObject"; }
    void encode(KeyedArchiver& coder) const override;

private:
    std::optional<std::string> identifier_;
    std::string displayString_;
    std::optional<std::string> pronunciationHint_;
};

}  // namespace intents
