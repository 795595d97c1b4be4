#include "kestrova/model/MetricData.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

namespace kestrova {

MetricData MetricData::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    return MetricData{
        .id = c.decode<foundation::UUID>("id"),
        .unit = c.decode<foundation::Text>("unit"),
        .value = c.decode<double>("value"),
        .metricId = c.decode<foundation::UUID>("metric_id"),
        .entryId = c.decode<std::int64_t>("entry_id"),
    };
}

void MetricData::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("unit", unit);
    c.encode("value", value);
    c.encode("metric_id", metricId);
    c.encode("entry_id", entryId);
}

void MetricData::hash(foundation::Hasher& hasher) const {
    hasher.combine(id);
    hasher.combine(unit);
    hasher.combine(value);
    hasher.combine(metricId);
    hasher.combine(entryId);
}

}  // namespace kestrova
