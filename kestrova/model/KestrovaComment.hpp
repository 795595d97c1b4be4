#pragma once

#include "platform/runtime/foundation/coding/CodingForward.hpp"
#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/core/Text.hpp"
#include "platform/runtime/foundation/core/UUID.hpp"
#include "kestrova/model/Indirect.hpp"

#include <optional>

namespace kestrova {

struct KestrovaEntry;
struct User;

// One comment on an entry, with its author and the entry it belongs to.
struct KestrovaComment {
    foundation::UUID id{foundation::UUID::Bytes{}};  // given or decoded; nil only until then
    foundation::Text value;
    foundation::Date date;
    Indirect<User> user;
    Indirect<KestrovaEntry> entry;
    std::optional<foundation::Date> createdAt;
    std::optional<foundation::Date> updatedAt;

    static KestrovaComment decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
    friend bool operator==(const KestrovaComment&, const KestrovaComment&);
    void hash(foundation::Hasher& hasher) const;
};

}  // namespace kestrova
