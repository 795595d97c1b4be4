#pragma once

#include "platform/runtime/foundation/coding/CodingForward.hpp"
#include "platform/runtime/foundation/core/Text.hpp"
#include "platform/runtime/foundation/core/UUID.hpp"

#include <optional>

namespace kestrova {

// A measure the user defined, such as "Weight" in "kg".
struct Metric {
    foundation::UUID id{foundation::UUID::Bytes{}};  // given or decoded; nil only until then
    foundation::Text name;
    foundation::Text unit;
    std::optional<double> defaultValue;

    static Metric decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
    friend bool operator==(const Metric&, const Metric&) = default;
    void hash(foundation::Hasher& hasher) const;
};

}  // namespace kestrova
