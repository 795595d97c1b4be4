#include "kestrova/model/Metric.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"

namespace kestrova {

namespace {

using foundation::Optional;
using foundation::Required;

using Fields = foundation::RecordFields<
    Required<"id", &Metric::id>,
    Required<"name", &Metric::name>,
    Required<"unit", &Metric::unit>,
    Optional<"defaultValue", &Metric::defaultValue>>;

}  // namespace

Metric Metric::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void Metric::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

void Metric::hash(foundation::Hasher& hasher) const { Fields::hash(hasher, *this); }

}  // namespace kestrova
