#pragma once

#include "platform/foundation/CodingForward.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/UUID.hpp"

#include <optional>

namespace kestrova {

// A measure the user defined, such as "Weight" in "kg".
struct Metric {
    foundation::UUID id;
    foundation::Text name;
    foundation::Text unit;
    std::optional<double> defaultValue;

    static Metric decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
    friend bool operator==(const Metric&, const Metric&) = default;
    void hash(foundation::Hasher& hasher) const;
};

}  // namespace kestrova
