#include "kestrova/model/JournalGroup.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

namespace kestrova {

JournalGroup JournalGroup::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    return JournalGroup{
        .id = c.decode<foundation::UUID>("id"),
        .index = c.decode<std::int64_t>("index"),
        .name = c.decode<foundation::Text>("name"),
        .daily = c.decode<bool>("daily"),
        .isCollapsed = c.decode<bool>("isCollapsed"),
    };
}

void JournalGroup::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("index", index);
    c.encode("name", name);
    c.encode("daily", daily);
    c.encode("isCollapsed", isCollapsed);
}

void JournalGroup::hash(foundation::Hasher& hasher) const {
    hasher.combine(id);
    hasher.combine(index);
    hasher.combine(name);
    hasher.combine(daily);
    hasher.combine(isCollapsed);
}

}  // namespace kestrova
