#include "platform/kits/intents/ResolutionResult.hpp"

#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"

#include <array>
#include <string>

namespace intents {
namespace {

constexpr std::array<std::string_view, 6> kindNames = {"success",     "disambiguation", "confirmationRequired",
                                                       "needsValue",  "notRequired",    "unsupported"};

ResolutionResult::Kind kindNamed(const std::string& text) {
    for (std::size_t index = 0; index < kindNames.size(); ++index) {
        if (kindNames[index] == text) {
            return static_cast<ResolutionResult::Kind>(index);
        }
    }
    throw ArchiveError("the archived resolution result is of the unknown kind \"" + text + "\"");
}

}  // namespace

std::string_view ResolutionResult::name(Kind kind) {
    return kindNames.at(static_cast<std::size_t>(kind));
}

ResolutionResult::ResolutionResult(const KeyedUnarchiver& coder)
    : kind_(kindNamed(coder.decodeString("kind").value_or(""))),
      value_(coder.decodeValue("value")),
      alternatives_(coder.decodeValues("alternatives")) {}

void ResolutionResult::encode(KeyedArchiver& coder) const {
    coder.encodeString("kind", std::string(name(kind_)));
    if (value_) {
        coder.encodeValue("value", *value_);
    }
    if (kind_ == Kind::disambiguation) {
        coder.encodeValues("alternatives", alternatives_);
    }
}

}  // namespace intents
