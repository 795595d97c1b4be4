#include "kestrova/model/MetricData.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"

namespace kestrova {

namespace {

using foundation::Required;

using Fields = foundation::RecordFields<
    Required<"id", &MetricData::id>,
    Required<"unit", &MetricData::unit>,
    Required<"value", &MetricData::value>,
    Required<"metric_id", &MetricData::metricId>,
    Required<"entry_id", &MetricData::entryId>>;

}  // namespace

MetricData MetricData::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void MetricData::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

void MetricData::hash(foundation::Hasher& hasher) const { Fields::hash(hasher, *this); }

}  // namespace kestrova
