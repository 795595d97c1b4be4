#include "kestrova/model/Metric.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

namespace kestrova {

Metric Metric::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    return Metric{
        .id = c.decode<foundation::UUID>("id"),
        .name = c.decode<foundation::Text>("name"),
        .unit = c.decode<foundation::Text>("unit"),
        .defaultValue = c.decodeIfPresent<double>("defaultValue"),
    };
}

void Metric::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("name", name);
    c.encode("unit", unit);
    c.encodeIfPresent("defaultValue", defaultValue);
}

void Metric::hash(foundation::Hasher& hasher) const {
    hasher.combine(id);
    hasher.combine(name);
    hasher.combine(unit);
    hasher.combine(defaultValue);
}

}  // namespace kestrova
