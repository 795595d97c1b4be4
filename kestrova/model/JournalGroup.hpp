#pragma once

#include "platform/runtime/foundation/coding/CodingForward.hpp"
#include "platform/runtime/foundation/core/Text.hpp"
#include "platform/runtime/foundation/core/UUID.hpp"

#include <cstdint>

namespace kestrova {

// A named, ordered group of the user's journals.
struct JournalGroup {
    foundation::UUID id{foundation::UUID::Bytes{}};  // given or decoded; nil only until then
    std::int64_t index = 0;
    foundation::Text name;
    bool daily = false;
    bool isCollapsed = false;

    static JournalGroup decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
    friend bool operator==(const JournalGroup&, const JournalGroup&) = default;
    void hash(foundation::Hasher& hasher) const;
};

}  // namespace kestrova
