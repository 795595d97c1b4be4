#pragma once

#include "platform/runtime/foundation/coding/CodingForward.hpp"
#include "platform/runtime/foundation/core/Text.hpp"
#include "platform/runtime/foundation/core/UUID.hpp"

#include <cstdint>

namespace kestrova {

// One value of a metric, attached to one entry. Made by the application, it
// gets a fresh random id unless one is given.
struct MetricData {
    foundation::UUID id;
    foundation::Text unit;
    double value = 0.0;
    foundation::UUID metricId;
    std::int64_t entryId = 0;

    static MetricData decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
    friend bool operator==(const MetricData&, const MetricData&) = default;
    void hash(foundation::Hasher& hasher) const;
};

}  // namespace kestrova
