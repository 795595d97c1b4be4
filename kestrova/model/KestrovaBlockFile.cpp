#include "kestrova/model/KestrovaBlockFile.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

namespace kestrova {

KestrovaBlockFile KestrovaBlockFile::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    KestrovaBlockFile file;
    file.id = c.decode<std::int64_t>("id");
    file.width = c.decodeIfPresent<std::int64_t>("width");
    file.height = c.decodeIfPresent<std::int64_t>("height");
    file.duration = c.decodeIfPresent<float>("duration");
    file.size = c.decode<std::int64_t>("size");
    file.mimeType = c.decode<foundation::Text>("mimeType");
    file.url = c.decode<foundation::Text>("url");
    return file;
}

void KestrovaBlockFile::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encodeIfPresent("width", width);
    c.encodeIfPresent("height", height);
    c.encodeIfPresent("duration", duration);
    c.encode("size", size);
    c.encode("mimeType", mimeType);
    c.encode("url", url);
}

void KestrovaBlockFile::hash(foundation::Hasher& hasher) const {
    hasher.combine(id);
    hasher.combine(width);
    hasher.combine(height);
    hasher.combine(duration);
    hasher.combine(size);
    hasher.combine(mimeType);
    hasher.combine(url);
}

}  // namespace kestrova
