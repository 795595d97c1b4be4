#pragma once

#include "platform/runtime/foundation/core/Text.hpp"
#include "kestrova/model/BlockType.hpp"
#include "kestrova/model/KestrovaBlockFile.hpp"

#include <cstdint>
#include <optional>

namespace kestrova {

// One block of a published entry: its text and up to four renditions of its file.
struct KestrovaBlock {
    std::int64_t id = 0;
    std::int64_t index = 0;
    BlockType type = BlockType::unknown;
    std::optional<foundation::Text> text;
    std::optional<KestrovaBlockFile> originalFile;
    std::optional<KestrovaBlockFile> defaultFile;
    std::optional<KestrovaBlockFile> previewFile;
    std::optional<KestrovaBlockFile> coverFile;

    static KestrovaBlock decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
    friend bool operator==(const KestrovaBlock&, const KestrovaBlock&) = default;
    void hash(foundation::Hasher& hasher) const;
};

}  // namespace kestrova
