#include "kestrova/model/KestrovaBlock.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"
#include "platform/runtime/foundation/coding/SingleValueDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/SingleValueEncodingContainer.hpp"

#include <string>

namespace kestrova {

namespace {

using foundation::Optional;
using foundation::Required;

// The block's type as the service writes it; a text it does not know reads as unknown.
struct BlockTypeText {
    static BlockType decode(foundation::Decoder& decoder) {
        return decodedBlockType(decoder.singleValueContainer().decode<std::string>());
    }
    static void encode(foundation::Encoder& encoder, BlockType type) {
        encoder.singleValueContainer().encode(rawValue(type));
    }
};

using Fields = foundation::RecordFields<
    Required<"id", &KestrovaBlock::id>,
    Required<"index", &KestrovaBlock::index>,
    Required<"type", &KestrovaBlock::type, BlockTypeText>,
    Optional<"text", &KestrovaBlock::text>,
    Optional<"originalFile", &KestrovaBlock::originalFile>,
    Optional<"defaultFile", &KestrovaBlock::defaultFile>,
    Optional<"previewFile", &KestrovaBlock::previewFile>,
    Optional<"coverFile", &KestrovaBlock::coverFile>>;

}  // namespace

KestrovaBlock KestrovaBlock::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void KestrovaBlock::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

void KestrovaBlock::hash(foundation::Hasher& hasher) const { Fields::hash(hasher, *this); }

}  // namespace kestrova
