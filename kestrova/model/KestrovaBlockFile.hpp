#pragma once

#include "platform/runtime/foundation/coding/CodingForward.hpp"
#include "platform/runtime/foundation/core/Text.hpp"

#include <cstdint>
#include <optional>

namespace kestrova {

// One stored rendition of a block's file.
struct KestrovaBlockFile {
    std::int64_t id = 0;
    std::optional<std::int64_t> width;
    std::optional<std::int64_t> height;
    std::optional<float> duration;
    std::int64_t size = 0;
    foundation::Text mimeType;
    foundation::Text url;

    static KestrovaBlockFile decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
    friend bool operator==(const KestrovaBlockFile&, const KestrovaBlockFile&) = default;
    void hash(foundation::Hasher& hasher) const;
};

}  // namespace kestrova
