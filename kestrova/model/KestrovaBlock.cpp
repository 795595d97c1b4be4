#include "kestrova/model/KestrovaBlock.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

namespace kestrova {

KestrovaBlock KestrovaBlock::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    KestrovaBlock block;
    block.id = c.decode<std::int64_t>("id");
    block.index = c.decode<std::int64_t>("index");
    block.type = decodedBlockType(c.decode<std::string>("type"));
    block.text = c.decodeIfPresent<foundation::Text>("text");
    block.originalFile = c.decodeIfPresent<KestrovaBlockFile>("originalFile");
    block.defaultFile = c.decodeIfPresent<KestrovaBlockFile>("defaultFile");
    block.previewFile = c.decodeIfPresent<KestrovaBlockFile>("previewFile");
    block.coverFile = c.decodeIfPresent<KestrovaBlockFile>("coverFile");
    return block;
}

void KestrovaBlock::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("index", index);
    c.encode("type", rawValue(type));
    c.encodeIfPresent("text", text);
    c.encodeIfPresent("originalFile", originalFile);
    c.encodeIfPresent("defaultFile", defaultFile);
    c.encodeIfPresent("previewFile", previewFile);
    c.encodeIfPresent("coverFile", coverFile);
}

void KestrovaBlock::hash(foundation::Hasher& hasher) const {
    hasher.combine(id);
    hasher.combine(index);
    hasher.combine(rawValue(type));
    hasher.combine(text);
    hasher.combine(originalFile);
    hasher.combine(defaultFile);
    hasher.combine(previewFile);
    hasher.combine(coverFile);
}

}  // namespace kestrova
