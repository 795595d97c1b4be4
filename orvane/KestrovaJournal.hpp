#pragma once

#include "platform/runtime/foundation/coding/CodingForward.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

// The extension's own reduced journal: what the option lists need of the
// journals in the cached user. Every other key of the JSON is ignored.
struct KestrovaJournal {
    std::int64_t id = 0;
    std::string title;
    // Required: null or a missing key fails the record.
    bool isDaily = false;
    std::optional<std::string> iconEmoji{};

    static KestrovaJournal decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
    friend bool operator==(const KestrovaJournal&, const KestrovaJournal&) = default;
};

}  // namespace orvane
