#pragma once

#include "orvane/KestrovaJournal.hpp"
#include "platform/runtime/foundation/coding/CodingForward.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace orvane {

// The extension's own reduced user: its id and its journals. The
// application's full cached user, and the reply of an update, decode into it.
struct ReducedUser {
    std::int64_t id = 0;
    std::optional<std::vector<KestrovaJournal>> journals{};

    static ReducedUser decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
    friend bool operator==(const ReducedUser&, const ReducedUser&) = default;
};

}  // namespace orvane
